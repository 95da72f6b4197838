#include "app/Translation.h"

#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

#include "app/QtText.h"

namespace seaherald {

namespace {

constexpr const char* Context = "SEAHERALD";
constexpr const char* EnglishFile = ":/i18n/seaherald_en.qm";

}  // namespace

Translation::Translation(UiLanguage language) : language_(language) {
  if (language_ != UiLanguage::English) return;
  translator_ = std::make_unique<QTranslator>();
  // Built into the program; without it every text would stay Japanese, so that is a fault.
  if (!translator_->load(QString::fromLatin1(EnglishFile))) {
    qFatal("the English translation %s is missing from the program", EnglishFile);
  }
}

Translation::~Translation() = default;

UiLanguage Translation::Choose(std::string_view settingsValue) {
  const QByteArray environment = qgetenv(UiLanguageVariable);
  const QStringList uiLanguages = QLocale::system().uiLanguages();
  const QString locale = uiLanguages.isEmpty() ? QLocale::system().name() : uiLanguages.first();
  return ChooseUiLanguage(environment.toStdString(), settingsValue, locale.toStdString());
}

QString Translation::Tr(const char* japanese, const char* disambiguation) const {
  if (translator_ != nullptr) {
    const QString translated = translator_->translate(Context, japanese, disambiguation);
    if (!translated.isEmpty()) return translated;
  }
  return QString::fromUtf8(japanese);
}

std::string Translation::Translate(std::string_view sjis) const {
  if (translator_ == nullptr) return std::string(sjis);
  return ToSjis(Tr(ToQString(sjis).toUtf8().constData()));
}

int Translation::NameLang() const {
  return language_ == UiLanguage::English ? 0 : 1;
}

const Translation& JapaneseTranslation() {
  static const Translation japanese(UiLanguage::Japanese);
  return japanese;
}

}  // namespace seaherald
