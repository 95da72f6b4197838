#include "platform/WindowPlacement.h"

#include <QElapsedTimer>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace seaherald {

namespace {

// Names the pending re-centring among the window's children.
const QString PendingName = QStringLiteral("seaherald-centre-when-framed");

constexpr int PollMilliseconds = 50;
// A frame unchanged this long after the last placement is taken as final.
constexpr int SettledMilliseconds = 3000;
// A window manager that never frames the window ends the watch too.
constexpr int GiveUpMilliseconds = 60000;

// The frame the window system reports now. The widget's own copy is refreshed only when the
// window moves, and a window manager may frame a window without moving its inside; while it
// builds the frame it may also report a frame smaller than the window (negative margins).
std::optional<QMargins> KnownFrameMargins(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  if (handle == nullptr) return std::nullopt;
  const QMargins margins = handle->frameMargins();
  const bool plausible =
      margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 && margins.bottom() >= 0;
  if (margins.isNull() || !plausible) return std::nullopt;
  return margins;
}

QRect OuterRect(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->frameGeometry() : window.frameGeometry();
}

// Centred on the owner's frame, but kept on the owner's screen: a dialog taller than a small main
// window near the screen's top edge would otherwise put its title bar out of reach.
QPoint CentredTopLeft(const QWidget& owner, QSize outer) {
  const QRect ownerFrame = OuterRect(owner);
  QPoint topLeft(ownerFrame.left() + ownerFrame.width() / 2 - outer.width() / 2,
                 ownerFrame.top() + ownerFrame.height() / 2 - outer.height() / 2);
  if (const QScreen* screen = owner.screen()) {
    const QRect area = screen->availableGeometry();
    topLeft.setX(std::max(std::min(topLeft.x(), area.right() + 1 - outer.width()), area.left()));
    topLeft.setY(std::max(std::min(topLeft.y(), area.bottom() + 1 - outer.height()), area.top()));
  }
  return topLeft;
}

// Puts the window's inside at `inside` on the screen. QWidget::move places the frame by the
// widget's copy of the margins, which may be stale; its own arithmetic is undone here.
void MoveInsideTo(QWidget& window, QPoint inside) {
  window.move(inside - (window.geometry().topLeft() - window.pos()));
}

// Centres the frame that `margins` give the window on the owner's frame. The inside is placed,
// not the frame: window managers differ in how they take a frame position.
void PlaceFramed(QWidget& window, const QWidget& owner, const QMargins& margins) {
  const QPoint frameTopLeft = CentredTopLeft(owner, window.size().grownBy(margins));
  MoveInsideTo(window, frameTopLeft + QPoint(margins.left(), margins.top()));
}

// Places the window again whenever the window manager's account of its frame changes, until
// that account has settled or the window is hidden. Polled: no event tells the window of a frame
// put around it in place.
class CentreWhenFramed final : public QObject {
 public:
  CentreWhenFramed(QWidget& window, const QWidget& owner)
      : QObject(&window), window_(window), owner_(&owner) {
    setObjectName(PendingName);
    connect(&timer_, &QTimer::timeout, this, &CentreWhenFramed::Check);
    timer_.start(PollMilliseconds);
    watched_.start();
  }

 private:
  void Check() {
    if (owner_ == nullptr || !window_.isVisible() || watched_.elapsed() > GiveUpMilliseconds) {
      Finish();
      return;
    }
    const std::optional<QMargins> margins = KnownFrameMargins(window_);
    if (!margins) return;
    if (margins != placedWith_) {
      placedWith_ = margins;
      PlaceFramed(window_, *owner_, *margins);
      settled_.start();
    } else if (settled_.elapsed() > SettledMilliseconds) {
      Finish();
    }
  }

  void Finish() {
    timer_.stop();
    setObjectName(QString());  // not pending any more
    deleteLater();             // or with the window, should the event loop end first
  }

  QWidget& window_;
  QPointer<const QWidget> owner_;
  QTimer timer_;
  QElapsedTimer watched_;
  QElapsedTimer settled_;
  std::optional<QMargins> placedWith_;
};

}  // namespace

void CentreOver(QWidget& window, const QWidget& owner) {
  delete window.findChild<QObject*>(PendingName, Qt::FindDirectChildrenOnly);
  const std::optional<QMargins> ownerMargins = KnownFrameMargins(owner);
  if (window.windowHandle() == nullptr || !ownerMargins) {
    // Nothing here puts frames on windows, or the window is not made yet.
    window.move(CentredTopLeft(owner, window.frameGeometry().size()));
    return;
  }
  // Until the window manager has framed the window, the owner's frame stands in for its own.
  PlaceFramed(window, owner, KnownFrameMargins(window).value_or(*ownerMargins));
  new CentreWhenFramed(window, owner);
}

}  // namespace seaherald
