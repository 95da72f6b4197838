#include "app/QtDialogService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtText.h"

namespace seaherald {

namespace {

void ShowWithOk(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                const std::string& sjis) {
  QMessageBox box(icon, title, ToQString(sjis), QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

}  // namespace

void QtDialogService::Beep() {
  QApplication::beep();
}

void QtDialogService::ShowError(const std::string& sjis) {
  ShowWithOk(parent_, QMessageBox::Critical, QStringLiteral("エラー"), sjis);
}

void QtDialogService::ShowInformation(const std::string& sjis) {
  ShowWithOk(parent_, QMessageBox::Information, QStringLiteral("情報"), sjis);
}

bool QtDialogService::Confirm(const std::string& sjis) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), ToQString(sjis),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
  return box.exec() == QMessageBox::Yes;
}

}  // namespace seaherald
