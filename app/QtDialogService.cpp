#include "app/QtDialogService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtText.h"
#include "app/Translation.h"

namespace seaherald {

namespace {

void ShowWithOk(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                const std::string& sjis, QPointer<QMessageBox>* shown = nullptr) {
  QMessageBox box(icon, title, ToQString(sjis), QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  if (shown != nullptr) *shown = &box;
  box.exec();
}

}  // namespace

void QtDialogService::Beep() {
  QApplication::beep();
}

void QtDialogService::ShowError(const std::string& sjis) {
  // A box opened while another is shown (from its event loop) takes over until it closes.
  const QPointer<QMessageBox> outer = shownError_;
  ShowWithOk(parent_, QMessageBox::Critical, text_.Tr("エラー"), sjis, &shownError_);
  shownError_ = outer;
}

bool QtDialogService::AddToShownError(const std::string& sjis) {
  if (shownError_.isNull()) return false;
  shownError_->setText(shownError_->text() + QLatin1Char('\n') + ToQString(sjis));
  return true;
}

void QtDialogService::ShowInformation(const std::string& sjis) {
  ShowWithOk(parent_, QMessageBox::Information, text_.Tr("情報"), sjis);
}

bool QtDialogService::Confirm(const std::string& sjis) {
  QMessageBox box(QMessageBox::Question, text_.Tr("確認"), ToQString(sjis),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(text_.Tr("はい(&Y)"));
  box.button(QMessageBox::No)->setText(text_.Tr("いいえ(&N)"));
  return box.exec() == QMessageBox::Yes;
}

}  // namespace seaherald
