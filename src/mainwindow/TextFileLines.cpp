#include "mainwindow/TextFileLines.h"

#include "generation/MainState.h"
#include "platform/IntlSource.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// The text as UTF-8; nothing when it starts with a UTF-16 byte-order mark but does not
// decode as UTF-16.
std::optional<std::string> ToUtf8(std::string_view bytes) {
    const bool littleEndian = bytes.substr(0, 2) == "\xFF\xFE";
    if (littleEndian || bytes.substr(0, 2) == "\xFE\xFF") {
        bytes.remove_prefix(2);
        QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        const QString text = utf16(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        if (utf16.hasError() || bytes.size() % 2 != 0) return std::nullopt;
        // The decoder passes a surrogate without its partner.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
            else if (text[i].isSurrogate()) return std::nullopt;
        }
        return text.toStdString();
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError()) return std::string(bytes);
    return Win1252ToQString(bytes).toStdString();
}

}  // namespace

std::optional<TextLineReader> TextLineReader::Open(const std::string& path) {
    const QString name = QString::fromStdString(path);
    if (!QFileInfo(name).isFile()) return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return TextLineReader(std::string_view(), 0);
    return TextLineReader(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

TextLineReader::TextLineReader(std::string_view bytes, std::size_t failAtLine) : failAt_(failAtLine) {
    const std::optional<std::string> decoded = ToUtf8(bytes);
    if (!decoded) {
        failAt_ = 0;  // read as a damaged medium is
        return;
    }
    const std::string& text = *decoded;
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
        lines_.push_back(CutTo255(text.substr(start, end - start)));
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

TextLineReader::Result TextLineReader::Next(std::string& line) {
    if (next_ >= failAt_) {
        next_ = failAt_;
        return Result::Error;
    }
    if (next_ >= lines_.size()) return Result::End;
    line = lines_[next_++];
    return Result::Line;
}

