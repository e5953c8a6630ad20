#include "support/FakeServices.h"
#include "windows/frmAbout.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan::test {
namespace {

// A left click where a person would click: on whatever control lies on top at the centre of
// `control`, as the window sees it.
void clickOver(QWidget &window, const char *control)
{
    const QWidget *under = window.findChild<QWidget *>(QLatin1String(control));
    const QPoint point = under->mapTo(&window, under->rect().center());
    QWidget *top = window.childAt(point);
    QWidget *target = top ? top : &window;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&window, point));
}

// Every control but the link lies under one click catcher; a label stands for them all.
TEST(AboutWindow, AnyClickButOnTheLinkAndEnterClose)
{
    const std::tuple<const char *, std::function<void(frmAbout &)>, bool> cases[] = {
        {"label", [](frmAbout &w) { clickOver(w, "lblStats"); }, true},
        {"Enter", [](frmAbout &w) { QTest::keyClick(&w, Qt::Key_Return); }, true},
        {"link", [](frmAbout &w) { clickOver(w, "lblWeb"); }, false},
    };
    for (const auto &[name, act, closes] : cases) {
        FakeShell shell;
        frmAbout window(QStringLiteral("Twinscan"), QStringLiteral("2.5"), {}, shell);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        act(window);
        EXPECT_EQ(window.isVisible(), !closes) << name;
        EXPECT_EQ(shell.opened, closes ? std::vector<QUrl> {} : std::vector {frmAbout::makerPage()})
            << name;
    }
}

} // namespace
} // namespace twinscan::test
