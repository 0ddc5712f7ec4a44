#include "mainwindow/TextFileLines.h"

#include "generation/MainState.h"
#include "platform/IntlSource.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

std::string ToUtf8(std::string_view bytes) {
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
    const std::string text = ToUtf8(bytes);
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

