#include "mainwindow/AboutBox.h"

#include "controls/FclURL.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::yellow);
    setPalette(pal);

    auto* outer = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(panel);
    auto* lay = new QVBoxLayout(panel);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    lay->addWidget(icon, 0, Qt::AlignHCenter);

    auto* product = new QLabel(QStringLiteral("Fraxilon"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    product->setFont(big);
    lay->addWidget(product, 0, Qt::AlignHCenter);

    Version = new QLabel(panel);
    Version->setObjectName(QStringLiteral("Version"));
    lay->addWidget(Version, 0, Qt::AlignHCenter);

    auto* maker = new QLabel(QStringLiteral("CNC-Programme aus Bildern\nFraxilon-Team"), panel);
    maker->setObjectName(QStringLiteral("Copyright"));
    maker->setAlignment(Qt::AlignHCenter);
    lay->addWidget(maker, 0, Qt::AlignHCenter);

    // The maker's web page: silver Arial, not underlined, opened with the desktop's handler.
    FclURL1 = new TFclURL(panel);
    FclURL1->setObjectName(QStringLiteral("FclURL1"));
    QFont link(QStringLiteral("Arial"));
    link.setPixelSize(11);
    FclURL1->setFont(link);
    FclURL1->SetFontColor(clSilver);
    FclURL1->SetUnderlineURL(false);
    FclURL1->SetURL(QStringLiteral("https://fraxilon.example.org"));
    FclURL1->SetCaption(QStringLiteral("https://fraxilon.example.org"));
    lay->addWidget(FclURL1, 0, Qt::AlignHCenter);

    ende = new QPushButton(QStringLiteral("OK"), this);
    ende->setObjectName(QStringLiteral("ende"));
    ende->setDefault(true);
    outer->addWidget(ende, 0, Qt::AlignHCenter);
    connect(ende, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::FormCreate(const QColor& windowColour) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, windowColour);
    setPalette(pal);
    setAutoFillBackground(true);
}

void TAboutBox::FormActivate() { Version->setText(QString::fromLatin1(kVersionLabel)); }

void TAboutBox::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}
