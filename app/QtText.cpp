#include "app/QtText.h"

#include <QByteArray>
#include <QStringDecoder>

#include "platform/CodePage.h"

namespace seaherald {

namespace {
constexpr const char* CodePage932 = "windows-31j";
}

QString ToQString(std::string_view sjis) {
  QStringDecoder decoder(CodePage932, QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(sjis.data(), static_cast<qsizetype>(sjis.size())));
}

// The toolkit's encoder puts a stray double-byte character where Shift-JIS has no form, so
// the conversion goes through iconv, which gives "?".
std::string ToSjis(const QString& text) {
  const CodePageConverter converter;
  return converter.Cp932FromUtf8Lossy(text.toStdString());
}

}  // namespace seaherald
