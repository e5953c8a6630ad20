#include "support/WindowFixture.h"

#include <QGroupBox>
#include <QScreen>
#include <QStyle>
#include <QTranslator>

namespace twinscan::test {
namespace {

// Every text two characters long, as captions are in Chinese: the frames' titles, not the
// buttons' captions, then need the most room.
class ShortCaptions final : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return QString::fromUtf8(source).left(2);
    }
};

// The main window made while the application has the default font at another point size.
class LargeFont : public WindowFixture
{
protected:
    void TearDown() override
    {
        WindowFixture::TearDown();
        QApplication::setFont(defaultFont_);
    }

    // Returns the window's outer size before it is first shown.
    QSize startAt(int pointSize, QTranslator *translator = nullptr)
    {
        QFont font = defaultFont_;
        if (pointSize)
            font.setPointSize(pointSize);
        QApplication::setFont(font);
        if (translator)
            QCoreApplication::installTranslator(translator);
        module() = Module {};
        window = std::make_unique<frmMain>(fakes.services());
        if (translator)
            QCoreApplication::removeTranslator(translator);
        const QSize opened = window->frameGeometry().size();
        window->show();
        QApplication::processEvents();
        // The smallest window is where captions have the least room.
        window->resize(window->minimumSize());
        QApplication::processEvents();
        return opened;
    }

private:
    const QFont defaultFont_ = QApplication::font();
};

std::string captionOf(const QWidget *control)
{
    return control->objectName().toStdString();
}

void expectButtonsFit(const MainWindowUi &ui)
{
    for (const QToolButton *button :
        {ui.cmdScan, ui.cmdStop, ui.cmdSave, ui.cmdView, ui.cmdSettings, ui.cmdAbout}) {
        const int frame = 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const QFontMetrics metrics = button->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(button->text()), button->width() - frame)
            << captionOf(button);
        EXPECT_LE(button->iconSize().height() + 4 + metrics.height(), button->height() - frame)
            << captionOf(button);
        EXPECT_LE(button->geometry().bottom(), ui.picProgressbar->y()) << captionOf(button);
    }
}

void expectFramesFit(const MainWindowUi &ui)
{
    for (const QGroupBox *frame : {ui.frmOrig, ui.frmDup}) {
        const QWidget *list = frame->findChild<QWidget *>();
        EXPECT_LE(frame->contentsRect().top(), list->y()) << captionOf(frame);
        EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width())
            << captionOf(frame);
    }
    const QWidget *form = ui.frmAction->parentWidget();
    EXPECT_LE(ui.frmOrig->geometry().right(), form->width());
    EXPECT_GE(ui.picStatusbar->height(), ui.picStatusbar->fontMetrics().height());
    EXPECT_GT(ui.picStatusbar->y(), ui.frmDup->geometry().bottom());
    EXPECT_EQ(ui.picStatusbar->geometry().bottom(), form->height() - 1);
}

// A font larger than the one the window was designed for grows the window and its smallest size,
// so that no caption is cut even there, up to the size of the screen (800 x 800 offscreen, which
// 22 pt would pass); the default font leaves every pixel of the design.
TEST_F(LargeFont, EveryCaptionShowsWholeAndTheWindowGrowsForIt)
{
    ShortCaptions shortCaptions;
    const struct
    {
        int pointSize; // 0: the default font as it is
        QTranslator *translator;
    } rows[] = {{0, nullptr}, {11, nullptr}, {13, nullptr}, {16, nullptr}, {22, nullptr},
        {16, &shortCaptions}};
    QSize smaller;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.pointSize);
        SCOPED_TRACE(row.translator ? "short captions" : "");
        const QSize opened = startAt(row.pointSize, row.translator);
        expectButtonsFit(ui());
        expectFramesFit(ui());
        const QSize minimum
            = window->minimumSize() + (window->frameGeometry().size() - window->size());
        EXPECT_TRUE(opened.width() >= minimum.width() && opened.height() >= minimum.height());
        const QSize screen = window->screen()->availableGeometry().size();
        EXPECT_EQ(minimum.boundedTo(screen), minimum);
        if (row.translator)
            EXPECT_TRUE(minimum.width() > 400 && minimum.width() < smaller.width());
        else if (smaller.isValid())
            EXPECT_TRUE(minimum.width() > smaller.width() && minimum.height() > smaller.height());
        else
            EXPECT_EQ(minimum, QSize(400, 400));
        smaller = minimum;
    }
}

// At the default font the controls sit on the design's pixels.
TEST_F(LargeFont, TheDefaultFontKeepsTheDesignPixels)
{
    startAt(0);
    window->resize(449, 420);
    QApplication::processEvents();
    const MainWindowUi &shown = ui();
    EXPECT_EQ(shown.frmAction->geometry(), QRect(8, 8, 89, 379));
    EXPECT_EQ(shown.cmdSettings->geometry(), QRect(16, 184, 57, 49));
    EXPECT_EQ(shown.frmOrig->geometry(), QRect(112, 8, 325, 219));
    EXPECT_EQ(shown.List2->geometry(), QRect(16, 24, 295, 116));
    EXPECT_EQ(shown.picStatusbar->geometry(), QRect(0, 396, 449, 24));
}

} // namespace
} // namespace twinscan::test
