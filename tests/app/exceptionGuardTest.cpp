// The program's one guard for every handler: an exception that no handler
// caught becomes a message box, and the program goes on.
#include <QPushButton>
#include <QTest>

#include "app/znApplication.h"
#include "appTest.h"
#include "base/znError.h"

#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
#include <sanitizer/lsan_interface.h>
// Qt is not exception-safe: what it allocated for an event whose handler
// threw is never freed. The program accepts that small loss to go on; the
// leak checker is told so for this button's life only.
struct TQtUnwindLeaks {
  TQtUnwindLeaks() { __lsan_disable(); }
  ~TQtUnwindLeaks() { __lsan_enable(); }
};
#else
struct TQtUnwindLeaks {};
#endif

class ExceptionGuard : public test::AppTest {};

TEST_F(ExceptionGuard, AClickWhoseHandlerThrowsShowsTheMessageAndTheProgramGoesOn) {
  auto* app = qobject_cast<TznApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  app->SetPrompts(&prompts_);
  [[maybe_unused]] const TQtUnwindLeaks unwinding;
  QPushButton button("Go");
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&clicks] {
    ++clicks;
    if (clicks == 1) throw EznError("the handler failed");
    if (clicks == 2) throw 42;
  });
  button.show();
  for (int i = 0; i < 3; ++i) QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center());
  EXPECT_EQ(clicks, 3);
  EXPECT_FALSE(button.isDown());
  EXPECT_EQ(prompts_.Messages, (std::vector<std::string>{"the handler failed", "Unexpected error"}));
  app->SetPrompts(nullptr);
}
