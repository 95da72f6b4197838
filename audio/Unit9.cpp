#include "audio/Unit9.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>

#include "platform/WindowPlacement.h"

namespace seaherald {

TForm9::TForm9(QWidget* parent, std::chrono::milliseconds settlePause, const Translation& text)
    : QWidget(parent, Qt::Tool), settlePause_(settlePause) {
  setObjectName(QStringLiteral("Form9"));
  setWindowTitle(text.Tr("録音デバイス変更"));
  setFixedSize(ClientWidth, ClientHeight);
  Label1 = new QLabel(text.Tr("デバイス変更中…"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label1->setGeometry(0, 16, 233, 13);
}

void TForm9::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (owner_ != nullptr) CentreOver(*this, *owner_);
}

void TForm9::ShowNotice() {
  show();
  raise();
  // Paint the notice now: the device change that follows keeps the event loop busy. User input
  // waits, so that nothing can start a second change meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm9::Settle() {
  QThread::msleep(static_cast<unsigned long>(settlePause_.count()));
}

void TForm9::CloseNotice() {
  close();
}

}  // namespace seaherald
