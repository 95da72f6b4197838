#include "app/QtText.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace seaherald {

namespace {
constexpr const char* CodePage932 = "windows-31j";
}

QString ToQString(std::string_view sjis) {
  QStringDecoder decoder(CodePage932, QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(sjis.data(), static_cast<qsizetype>(sjis.size())));
}

std::string ToSjis(const QString& text) {
  QStringEncoder encoder(CodePage932, QStringConverter::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace seaherald
