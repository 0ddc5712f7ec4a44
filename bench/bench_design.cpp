// Taking a design over into the main window: a thousand objects of every shape, a third with a
// turned text, some with a picture (two files shared by many objects), some transparent and
// some over the edge, composed into a 6000 x 6000 picture (ten picture pixels per editor
// pixel). The reference draws the same shapes, greys, pictures and texts with one QPainter
// into one image, the pictures decoded beforehand.
#include "designer/DesignOutput.h"
#include "designer/DesignRender.h"
#include "generation/MainState.h"
#include "platform/BmpFile.h"
#include "platform/Picture.h"
#include "platform/SysColors.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

namespace {

constexpr int kEditorWidth = 600;
constexpr int kPictureSize = 6000;

struct BenchDesign {
    QTemporaryDir dir;
    TDesign design;
    std::string pictures[2];
};

TBitmap Ramp(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = (x * 5 + y * 3) % 256;
            b.SetPixelAt(x, y, RGB(v, v, v));
        }
    return b;
}

// The same design for every benchmark: objects of 15 to 90 editor pixels, some reaching over
// the left, top, right or bottom edge.
BenchDesign& Design(int count) {
    static std::unique_ptr<BenchDesign> made;
    static int madeCount = 0;
    if (made && madeCount == count)
        return *made;
    made = std::make_unique<BenchDesign>();
    madeCount = count;
    ResetMainState();
    Main.wst_d = 10;
    BenchDesign& b = *made;
    b.pictures[0] = QDir(b.dir.path()).filePath("ramp.bmp").toStdString();
    b.pictures[1] = QDir(b.dir.path()).filePath("small.bmp").toStdString();
    SaveBitmapToBmpFile(Ramp(300, 200), b.pictures[0]);
    SaveBitmapToBmpFile(Ramp(64, 64), b.pictures[1]);
    TDesign& d = b.design;
    d.FirstActivation();
    unsigned seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    const char shapes[] = {'9', '4', '3', '5', '2'};
    for (int i = 0; i < count; ++i) {
        const int w = 15 + next(76), h = 15 + next(76);
        d.AddObject(next(kEditorWidth - w + 30) - 10, next(kEditorWidth - h + 30) - 10, w, h);
        TFensterRec& r = *d.Selected();
        r.Typ = shapes[i % 5];
        r.FormTiefe = next(100) / 10.0;
        r.Radius = 5 + next(10);
        if (r.Typ == '5')
            r.FormWinkel = 90.0 * next(4);
        if (r.Typ == '2') {
            r.Neck = 5;
            for (int p = 0; p < 5; ++p) {
                const double a = 2 * std::numbers::pi * p / 5;
                r.Punkte[std::size_t(p)] = {int(w / 2 + w / 2.2 * std::cos(a)), int(h / 2 + h / 2.2 * std::sin(a))};
            }
            r.Punkte[5] = r.Punkte[0];
            r.FormWinkel = 15.0 * next(24);
        }
        if (i % 3 == 0) {
            r.TextString = "Tiefe " + std::to_string(i);
            r.FontSize = 10 + next(16);
            r.TextTiefe = next(100) / 10.0;
            r.TextPosX = next(w / 2 + 1);
            r.TextPosY = h / 2 + next(h / 2 + 1);
            const double angles[] = {0, 15, 90, -30};
            r.TextWinkel = angles[next(4)];
            r.Align = char('1' + next(3));
            r.Bold = next(2) ? '2' : '1';
        }
        if (i % 8 == 0)
            r.PictureName = b.pictures[next(2)];
        if (i % 11 == 0) {
            r.Transparent = '2';
            r.FormTiefe = 0;
        }
        d.WriteObjectLines(d.AktFenster);
        d.ParseObjectLines(d.AktFenster);
    }
    return b;
}

void BM_DesignTakeOver(benchmark::State& state) {
    BenchDesign& b = Design(int(state.range(0)));
    for (auto _ : state) {
        auto picture = RenderDesignForImport(b.design, kPictureSize, kPictureSize, 1, kEditorWidth);
        benchmark::DoNotOptimize(&picture);
    }
    state.counters["objects"] = double(b.design.FensterAnzahl);
}
BENCHMARK(BM_DesignTakeOver)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

QColor Grey(double depth) { return ToQColor(DepthToColor(1, depth, Main.wst_d)); }

// The same objects drawn plainly: fill, shape clip, stretched picture, turned text.
void BM_DesignQPainterReference(benchmark::State& state) {
    BenchDesign& b = Design(int(state.range(0)));
    QImage pictures[2];
    for (int i = 0; i < 2; ++i) {
        TPicture p;
        p.LoadFromFile(b.pictures[i]);
        pictures[i] = p.Pixels()->ToImage();
    }
    const double s = double(kPictureSize) / kEditorWidth;
    for (auto _ : state) {
        QImage image(kPictureSize, kPictureSize, QImage::Format_RGB888);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        for (int i = 1; i <= b.design.FensterAnzahl; ++i) {
            const TFensterRec& r = b.design.FensterRecs[std::size_t(i)];
            const QRect box(int(std::lround(r.PosX * s)), int(std::lround(r.PosY * s)),
                            int(std::lround(r.Laenge * s)), int(std::lround(r.Breite * s)));
            p.fillRect(box, Grey(r.FormTiefe));
            if (r.TextString.empty() && r.PictureName.empty())
                continue;
            QPainterPath shape;
            switch (r.Typ) {
            case '4': shape.addEllipse(box); break;
            case '3': shape.addRoundedRect(box, r.Radius * s, r.Radius * s); break;
            case '2':
            case '5': {
                QPolygonF poly;
                for (int k = 0; k <= r.Neck; ++k)
                    poly << QPointF(box.left() + r.Punkte[std::size_t(k)].x * s,
                                    box.top() + r.Punkte[std::size_t(k)].y * s);
                shape.addPolygon(poly);
                break;
            }
            default: shape.addRect(box); break;
            }
            p.save();
            p.setClipPath(shape);
            if (!r.PictureName.empty())
                p.drawImage(box, pictures[r.PictureName == b.pictures[0] ? 0 : 1]);
            if (!r.TextString.empty()) {
                QFont font(QStringLiteral("Arial"));
                font.setPixelSize(int(r.FontSize * s));
                font.setBold(r.Bold == '2');
                font.setStyleStrategy(QFont::NoAntialias);
                p.setFont(font);
                p.setPen(Grey(r.TextTiefe));
                p.translate(box.left() + r.TextPosX * s, box.top() + r.TextPosY * s);
                p.rotate(r.TextWinkel);
                p.drawText(QPointF(0, 0), QString::fromStdString(r.TextString));
            }
            p.restore();
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DesignQPainterReference)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

#include "ApplicationMain.h"
