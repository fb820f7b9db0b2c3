#include "views/znGLWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <cmath>

#include "scene/znGLErrors.h"

namespace {

uint16_t KeypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>(vkNumpad0 + (key - Qt::Key_0));
  switch (key) {
    case Qt::Key_Plus:
      return vkAdd;
    case Qt::Key_Minus:
      return vkSubtract;
    case Qt::Key_Asterisk:
      return vkMultiply;
    case Qt::Key_Slash:
      return vkDivide;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return vkDecimal;
    default:
      return 0;
  }
}

uint16_t MainKey(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(vkF1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return vkBack;
    case Qt::Key_Tab:
      return vkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vkReturn;
    case Qt::Key_Shift:
      return vkShift;
    case Qt::Key_Control:
      return vkControl;
    case Qt::Key_Alt:
      return vkMenu;
    case Qt::Key_Escape:
      return vkEscape;
    case Qt::Key_Space:
      return vkSpace;
    case Qt::Key_PageUp:
      return vkPrior;
    case Qt::Key_PageDown:
      return vkNext;
    case Qt::Key_End:
      return vkEnd;
    case Qt::Key_Home:
      return vkHome;
    case Qt::Key_Left:
      return vkLeft;
    case Qt::Key_Up:
      return vkUp;
    case Qt::Key_Right:
      return vkRight;
    case Qt::Key_Down:
      return vkDown;
    case Qt::Key_Insert:
      return vkInsert;
    case Qt::Key_Delete:
      return vkDelete;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return vkOemPlus;
    case Qt::Key_Minus:
      return vkOemMinus;
    default:
      return 0;
  }
}

TznMouseButton ButtonOf(Qt::MouseButton button) {
  if (button == Qt::RightButton) return TznMouseButton::mbRight;
  if (button == Qt::MiddleButton) return TznMouseButton::mbMiddle;
  return TznMouseButton::mbLeft;
}

}  // namespace

bool OpenGLAvailable() {
  QOpenGLContext context;
  return context.create();
}

uint16_t QtKeyToVirtualKey(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (const uint16_t code = KeypadKey(key)) return code;
  }
  return MainKey(key);
}

TznShiftState QtShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TznShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

TznGLWidget::TznGLWidget(QWidget* parent) : QOpenGLWidget(parent) {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setVersion(2, 1);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  format.setDepthBufferSize(32);  // Qt falls back to the deepest buffer offered
  format.setStencilBufferSize(0);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  setFormat(format);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  FReality = std::make_unique<TznGLReality>(*this);
}

TznGLWidget::~TznGLWidget() {
  // Textures and the binding are released with the context current.
  if (context()) makeCurrent();
  FReality.reset();
}

int TznGLWidget::DeviceWidth() const { return static_cast<int>(std::lround(width() * devicePixelRatioF())); }

int TznGLWidget::DeviceHeight() const { return static_cast<int>(std::lround(height() * devicePixelRatioF())); }

// --- surface

TznGLContextHandle TznGLWidget::CreateContext(unsigned, int) {
  QOpenGLContext* own = context();
  if (!own || !own->isValid()) throw EznGLError("No OpenGL context for the window");
  return reinterpret_cast<TznGLContextHandle>(own);
}

bool TznGLWidget::MakeCurrent(TznGLContextHandle context) {
  makeCurrent();
  return reinterpret_cast<TznGLContextHandle>(QOpenGLContext::currentContext()) == context;
}

bool TznGLWidget::DoneCurrent() {
  doneCurrent();
  return true;
}

bool TznGLWidget::DeleteContext(TznGLContextHandle) { return true; }

// Qt presents the widget's frame itself once paintGL returns.
void TznGLWidget::SwapBuffers() {}

void* TznGLWidget::GetProcAddress(const char* name) {
  return context() ? reinterpret_cast<void*>(context()->getProcAddress(name)) : nullptr;
}

int TznGLWidget::PixelFormatId() const {
  const QSurfaceFormat f = format();
  return f.depthBufferSize() * 10000 + f.alphaBufferSize() * 100 + f.redBufferSize();
}

// --- GL events

bool TznGLWidget::TryInitGL() {
  if (FOnStart) {
    FOnStart();
    return FReality->Active();
  }
  if (!FReality->InitGL(glDoubleBuffer, 32, 0, 0, DeviceWidth(), DeviceHeight())) return false;
  FReality->Prepare();
  return true;
}

void TznGLWidget::initializeGL() { TryInitGL(); }

void TznGLWidget::resizeGL(int, int) {
  if (FReality->SetViewBounds(0, 0, DeviceWidth(), DeviceHeight())) update();
}

void TznGLWidget::paintGL() {
  // A failed set-up is tried again on the next paint.
  if (!FReality->Active() && !TryInitGL()) return;
  FReality->Paint();
}

// --- input

void TznGLWidget::keyPressEvent(QKeyEvent* event) {
  const uint16_t key = QtKeyToVirtualKey(event->key(), event->modifiers());
  if (!key) return QOpenGLWidget::keyPressEvent(event);
  const TznShiftState shift = QtShiftState(event->modifiers());
  FReality->Keys().KeyDown(key, shift);  // auto-repeats count as key-downs
  if (FOnKeyDown) FOnKeyDown(key, shift);
}

void TznGLWidget::keyReleaseEvent(QKeyEvent* event) {
  // Auto-repeat sends release and press pairs: only the last release counts.
  if (event->isAutoRepeat()) return;
  const uint16_t key = QtKeyToVirtualKey(event->key(), event->modifiers());
  if (!key) return QOpenGLWidget::keyReleaseEvent(event);
  FReality->Keys().KeyUp(key);
  if (FOnKeyUp) FOnKeyUp(key, QtShiftState(event->modifiers()));
}

void TznGLWidget::ForwardMouse(const TMouseHandler& handler, QMouseEvent* event) {
  if (!handler) return;
  const double ratio = devicePixelRatioF();
  const QPointF at = event->position();
  makeCurrent();
  handler(ButtonOf(event->button()), QtShiftState(event->modifiers(), event->buttons()),
          static_cast<int>(at.x() * ratio), static_cast<int>(at.y() * ratio));
}

void TznGLWidget::mousePressEvent(QMouseEvent* event) { ForwardMouse(FOnMouseDown, event); }

void TznGLWidget::mouseReleaseEvent(QMouseEvent* event) { ForwardMouse(FOnMouseUp, event); }

void TznGLWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!FOnMouseMove) return;
  const double ratio = devicePixelRatioF();
  const QPointF at = event->position();
  FOnMouseMove(QtShiftState(event->modifiers(), event->buttons()), static_cast<int>(at.x() * ratio),
               static_cast<int>(at.y() * ratio));
}

void TznGLWidget::focusOutEvent(QFocusEvent* event) {
  FReality->Keys().ReleaseAll();
  QOpenGLWidget::focusOutEvent(event);
}
