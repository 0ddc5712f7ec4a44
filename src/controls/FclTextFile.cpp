#include "controls/FclTextFile.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>

#include "platform/IntlSource.h"

namespace {

std::string ToWin1252(std::string_view bytes)
{
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())));
    if (utf8.hasError())
        return std::string(bytes);
    return QStringToWin1252(text);
}

QString FileNameOf(const std::string& name)
{
    return Win1252ToQString(name);
}

}  // namespace

std::vector<std::string> DecodeTextLines(std::string_view Bytes)
{
    const std::string text = ToWin1252(Bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text, start, i - start);
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text, start, std::string::npos);
    return lines;
}

std::string EncodeTextLines(const std::vector<std::string>& Lines)
{
    std::string out;
    for (const std::string& line : Lines) {
        const QByteArray utf8 = Win1252ToQString(line).toUtf8();
        out.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> ReadTextFileLines(const std::string& FileName)
{
    QFile file(FileNameOf(FileName));
    if (!file.exists())
        throw EInOutError(EInOutError::kFileNotFound, "File not found: " + FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(EInOutError::kReadFault, "Cannot open file " + FileName);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(EInOutError::kReadFault, "Cannot read file " + FileName);
    return DecodeTextLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void WriteTextFileLines(const std::string& FileName, const std::vector<std::string>& Lines)
{
    const std::string bytes = EncodeTextLines(Lines);
    QSaveFile file(FileNameOf(FileName));
    if (!file.open(QIODevice::WriteOnly))
        throw EInOutError(EInOutError::kWriteFault, "Cannot create file " + FileName);
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EInOutError(EInOutError::kWriteFault, "Cannot write file " + FileName);
}
