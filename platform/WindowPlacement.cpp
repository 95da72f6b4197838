#include "platform/WindowPlacement.h"

#include <QEvent>
#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace seaherald {

namespace {

// Names the pending re-centring among the window's children.
const QString PendingName = QStringLiteral("seaherald-centre-when-framed");

bool Framed(const QWidget& window) {
  return window.frameGeometry() != window.geometry();
}

QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect inside = window.geometry();
  return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
          frame.bottom() - inside.bottom()};
}

QPoint CentredTopLeft(const QRect& ownerFrame, QSize outer) {
  return {ownerFrame.left() + ownerFrame.width() / 2 - outer.width() / 2,
          ownerFrame.top() + ownerFrame.height() / 2 - outer.height() / 2};
}

// Centres the window once more when the window manager's frame arrives: until then its outer
// size was a guess (frames differ, say, by a resize grip).
class CentreWhenFramed final : public QObject {
 public:
  CentreWhenFramed(QWidget& window, const QWidget& owner)
      : QObject(&window), window_(window), owner_(&owner) {
    setObjectName(PendingName);
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (watched != &window_ || !placed || !Framed(window_)) return false;
    window_.removeEventFilter(this);
    setObjectName(QString());  // not pending any more: the CentreOver below drops pending ones
    deleteLater();             // or with the window, should the event loop end first
    if (owner_ != nullptr) CentreOver(window_, *owner_);
    return false;
  }

 private:
  QWidget& window_;
  QPointer<const QWidget> owner_;
};

}  // namespace

void CentreOver(QWidget& window, const QWidget& owner) {
  delete window.findChild<QObject*>(PendingName, Qt::FindDirectChildrenOnly);
  const QRect ownerFrame = owner.frameGeometry();
  if (Framed(window) || !Framed(owner) || window.windowHandle() == nullptr) {
    // The outer size is known: framed already, or nothing here puts frames on windows.
    window.move(CentredTopLeft(ownerFrame, window.frameGeometry().size()));
    return;
  }
  // The first showing under a window manager: the owner's frame stands in for the window's own,
  // and the frame, not the inside, is placed, as the frame is what the owner's centre is set by.
  const QSize outer = window.size().grownBy(FrameMargins(owner));
  window.windowHandle()->setFramePosition(CentredTopLeft(ownerFrame, outer));
  new CentreWhenFramed(window, owner);
}

}  // namespace seaherald
