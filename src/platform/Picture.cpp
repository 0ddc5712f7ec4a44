#include "platform/Picture.h"

#include "platform/BmpDecode.h"
#include "platform/BmpFile.h"
#include "platform/Exception.h"
#include "platform/IcoFile.h"
#include "platform/JpegFile.h"
#include "platform/PictureMemory.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <new>

namespace {

enum class Format { Unknown, Bmp, Ico, Jpeg, Metafile };

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

Format FormatOfName(const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext == "bmp" || ext == "dib") return Format::Bmp;
    if (ext == "ico") return Format::Ico;
    if (ext == "jpg" || ext == "jpeg" || ext == "jpe" || ext == "jfif") return Format::Jpeg;
    if (ext == "wmf" || ext == "emf") return Format::Metafile;
    return Format::Unknown;
}

Format FormatOfContents(std::string_view d) {
    if (d.size() >= 2 && d.substr(0, 2) == "BM") return Format::Bmp;
    if (d.size() >= 4 && d.substr(0, 4) == std::string_view("\0\0\1\0", 4)) return Format::Ico;
    if (d.size() >= 3 && d.substr(0, 3) == "\xFF\xD8\xFF") return Format::Jpeg;
    // Placeable and plain Windows metafiles, enhanced metafiles.
    if (d.size() >= 4 && d.substr(0, 4) == "\xD7\xCD\xC6\x9A") return Format::Metafile;
    if (d.size() >= 6 && (d[0] == 1 || d[0] == 2) && d[1] == 0 && d[2] == 9 && d[3] == 0) return Format::Metafile;
    if (d.size() >= 44 && d.substr(0, 4) == std::string_view("\1\0\0\0", 4) && d.substr(40, 4) == " EMF")
        return Format::Metafile;
    return Format::Unknown;
}

// Exception texts are single-byte Windows-1252; file names and Qt's texts arrive as UTF-8 or
// UTF-16.
std::string Shown(const QString& text) { return text.toLatin1().toStdString(); }
std::string Shown(const std::string& utf8) { return Shown(QString::fromStdString(utf8)); }

const char* FormatName(Format f) {
    switch (f) {
    case Format::Bmp: return "Bitmap-Datei";
    case Format::Ico: return "Symboldatei";
    case Format::Jpeg: return "JPEG-Datei";
    default: return "Bilddatei";
    }
}

// What the user can do about a file that holds no picture the program can read, and about a
// picture too large for the memory.
constexpr const char* kChooseAnother = " Bitte eine andere Bilddatei (BMP, ICO oder JPEG) w\xE4hlen.";
constexpr const char* kChooseSmaller = " Bitte ein kleineres Bild w\xE4hlen oder andere Programme schlie\xDF" "en.";

std::string TheFile(const std::string& shownName) { return "Die Datei \x84" + shownName + "\x93"; }

// Why a file cannot be opened for reading, as a user can act on it.
std::string OpenProblem(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists()) return " gibt es nicht. Bitte Namen und Ordner pr\xFC" "fen.";
    if (info.isDir()) return " ist ein Ordner." + std::string(kChooseAnother);
    if (!info.isFile()) return " ist keine gew\xF6hnliche Datei, sondern ein Ger\xE4t oder eine Pipe." +
                               std::string(kChooseAnother);
    return " kann nicht ge\xF6" "ffnet werden; vielleicht fehlt die Leseberechtigung. Bitte die Berechtigung "
           "pr\xFC" "fen oder eine andere Bilddatei w\xE4hlen.";
}

TDecodedPicture DecodeKnownFormat(const std::string& data, Format format, const std::string& name,
                                  DecodeProgress progress) {
    switch (format) {
    case Format::Bmp: return {TGraphicKind::Bitmap, DecodeBmp(data, name, progress)};
    case Format::Ico: return {TGraphicKind::Icon, DecodeIco(data, name, progress)};
    default: return {TGraphicKind::Jpeg, DecodeJpeg(data, {}, progress)};
    }
}

// A JPEG whose samples are not 8 bits: what it is and how to make it readable.
std::string PrecisionText(const std::string& name, int bits) {
    return "Die Datei \x84" + name + "\x93 ist ein JPEG-Bild mit " + std::to_string(bits) +
           " Bit je Farbwert; gelesen werden nur JPEG-Bilder mit 8 Bit je Farbwert. Bitte das Bild in einem "
           "Bildprogramm mit 8 Bit je Farbwert speichern und diese Datei \xF6" "ffnen.";
}

TDecodedPicture DecodeStaged(const std::string& data, const std::string& fileName, DecodeProgress progress) {
    const std::string name = Shown(fileName);
    const Format byContents = FormatOfContents(data);
    Format format = FormatOfName(fileName);
    if (format == Format::Metafile || byContents == Format::Metafile)
        throw Exception(TheFile(name) +
                        " ist eine Metadatei (WMF/EMF); Metadateien k\xF6nnen nicht gelesen werden. Bitte das Bild "
                        "in einem Zeichenprogramm als BMP oder JPEG speichern und diese Datei \xF6" "ffnen.");
    if (format == Format::Unknown)
        format = byContents;
    if (format == Format::Unknown)
        throw Exception(TheFile(name) + " hat kein bekanntes Bildformat." + kChooseAnother);
    if (byContents != format)
        throw Exception(TheFile(name) + " ist keine g\xFCltige " + FormatName(format) + "." + kChooseAnother);
    try {
        return DecodeKnownFormat(data, format, name, progress);
    } catch (const EPictureLoadCancelled&) {
        throw;
    } catch (const EJpegError& e) {
        // Precisions of 2 to 16 bits exist (12 bits the common one); any other is a damaged frame.
        const auto* precision = dynamic_cast<const EJpegPrecision*>(&e);
        if (precision && precision->Bits() >= 2 && precision->Bits() <= 16)
            throw Exception(PrecisionText(name, precision->Bits()));
        throw Exception(TheFile(name) + " ist besch\xE4" "digt oder unvollst\xE4ndig und kann nicht als JPEG-Bild "
                        "gelesen werden (" + e.Message() + ")." + kChooseAnother);
    } catch (const EPictureTooLarge& e) {
        throw EPictureTooLarge(TheFile(name) + " kann nicht geladen werden: " + e.Message() + kChooseSmaller);
    } catch (const Exception& e) {
        // The header checks and the reader name the file; they leave the advice to us.
        throw Exception(e.Message() + kChooseAnother);
    }
}

}  // namespace

TDecodedPicture DecodePictureBytes(const std::string& data, const std::string& fileName,
                                   const PictureProgress& progress) {
    return DecodeStaged(data, fileName, DecodeProgress(progress, 0, 1));
}

namespace {

// Opens a regular file for reading. A pipe or a device is never read: opening one can wait
// for a writer for ever, so it is opened without waiting and looked at first.
bool OpenRegularFile(const std::string& path, QFile& file) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

}  // namespace

TDecodedPicture DecodePictureFile(const std::string& path, const PictureProgress& progress) {
    const DecodeProgress whole(progress, 0, 1);
    QFile file;
    if (!OpenRegularFile(path, file))
        throw Exception(TheFile(Shown(path)) + OpenProblem(path));
    const qint64 size = file.size();
    if (size < 0 || std::uint64_t(size) > PictureMemoryBudget() / 4)
        throw EPictureTooLarge(TheFile(Shown(path)) + " ist zu gro\xDF f\xFCr den freien Arbeitsspeicher." +
                               kChooseSmaller);
    // Read in pieces, so that a large file on a slow disk shows its progress and can be stopped.
    std::string data(std::size_t(size), '\0');
    DecodeProgress reading = whole.Part(0, 0.1);
    constexpr qint64 kPiece = qint64(4) << 20;
    for (qint64 at = 0; at < size; at += kPiece) {
        reading.Step(at, size);
        const qint64 n = std::min(kPiece, size - at);
        if (file.read(data.data() + at, n) != n)
            throw Exception(TheFile(Shown(path)) + " kann nicht gelesen werden (Lesefehler)." + kChooseAnother);
    }
    return DecodeStaged(data, path, whole.Part(0.1, 1));
}

void TPicture::Assign(const TPicture* other) {
    if (other == this)
        return;
    if (other == nullptr || !other->HasGraphic()) {
        Clear();
        return;
    }
    AssignGraphic(other->kind_, *other->pixels_);
}

void TPicture::AssignBitmap(TBitmap bitmap) { AssignGraphic(TGraphicKind::Bitmap, std::move(bitmap)); }

void TPicture::AssignGraphic(TGraphicKind kind, TBitmap pixels) {
    pixels_ = std::make_unique<TBitmap>(std::move(pixels));
    kind_ = kind;
    Changed();
}

void TPicture::Clear() {
    pixels_.reset();
    kind_ = TGraphicKind::Bitmap;
    Changed();
}

void TPicture::LoadFromFile(const std::string& path, const PictureProgress& progress) {
    TDecodedPicture decoded = DecodePictureFile(path, progress);
    AssignGraphic(decoded.kind, std::move(decoded.pixels));
}

void TPicture::SaveToFile(const std::string& path) const {
    if (!pixels_)
        throw Exception("Es ist kein Bild zum Speichern da.");
    SaveBitmapToBmpFile(*pixels_, path);
}

void TPicture::Changed() {
    if (OnChange)
        OnChange();
}

const char* PictureOpenFilter() {
    return "Alle Bilder|*.bmp;*.dib;*.ico;*.jpg;*.jpeg;*.jpe;*.jfif|Bitmaps|*.bmp;*.dib|Symbole|*.ico|"
           "JPEG-Bilder|*.jpg;*.jpeg;*.jpe;*.jfif";
}

const char* PictureSaveFilter() { return "Bitmaps|*.bmp"; }
