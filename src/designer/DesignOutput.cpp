#include "designer/DesignOutput.h"

#include "platform/BmpFile.h"
#include "platform/Exception.h"
#include "platform/IntlSource.h"
#include "platform/PictureMemory.h"
#include "platform/Services.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QString>

#include <cmath>

static std::string FromLibraryText(const std::string& text) {
    return Win1252ToQString(text).toUtf8().toStdString();
}

// Nothing when the drawing is cancelled.
static std::optional<TBitmap> ComposeClient(TDesign& design, int clientWidth, int clientHeight) {
    TBitmap image(std::max(1, clientWidth), std::max(1, clientHeight));  // a new bitmap is white
    if (!design.PutAlltobitmap(image, std::max(1, clientWidth)))
        return std::nullopt;
    return image;
}

bool FileExportExecute(TDesign& design, int clientWidth, int clientHeight) {
    if (design.FensterAnzahl < 1)
        return false;
    FileDialogRequest request;
    request.title = "Export As Metafile";
    request.filter = "*.bmp|*.bmp";
    request.defaultExt = "bmp";
    const auto name = Services().SaveFileName(request);
    if (!name)
        return false;
    try {
        const std::optional<TBitmap> image = ComposeClient(design, clientWidth, clientHeight);
        if (!image)
            return false;
        SaveBitmapToBmpFile(*image, *name);
    } catch (const Exception& e) {
        MessageDlg(FromLibraryText(e.Message()), mtError, mbOK);
        return false;
    }
    return true;
}

bool FilePrintExecute(TDesign& design, int clientWidth, int clientHeight) {
    if (design.FensterAnzahl < 1)
        return false;
    QPrinter& printer = Printer();
    if (!Services().PrinterSetupDialog(printer))
        return false;
    const std::optional<TBitmap> composed = ComposeClient(design, clientWidth, clientHeight);
    if (!composed)
        return false;
    const QImage image = composed->ToImage();
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageDlg("Der Drucker kann nicht gestartet werden.", mtError, mbOK);
        return false;
    }
    const int x = (printer.width() - image.width()) / 2;
    const int y = (printer.height() - image.height()) / 2;
    painter.drawImage(QPoint(x, y), image);
    painter.end();
    return true;
}

std::optional<TBitmap> RenderDesignForImport(TDesign& design, double length, double width,
                                             double toolRadius, int clientWidth) {
    if (!(toolRadius > 0) || !std::isfinite(toolRadius))
        throw Exception("Der Werkzeugradius muss gr\xF6\xDF" "er als 0 sein.");
    const double w = std::nearbyint(length / toolRadius);
    const double h = std::nearbyint(width / toolRadius);
    if (!(w >= 1 && h >= 1 && w < 2147483647.0 && h < 2147483647.0))
        throw Exception("Das Design ergibt bei diesem Werkzeugradius kein Bild.");
    CheckPictureFitsMemory(std::int64_t(w), std::int64_t(h));
    TBitmap target{int(w), int(h)};
    if (!design.PutAlltobitmap(target, clientWidth))
        return std::nullopt;
    return target;
}
