#include "support/WindowFixture.h"

#include "engine/EngineTestSupport.h"

#include <algorithm>

namespace twinscan::test {

std::string largeFile(std::string text)
{
    const auto lines = std::count(text.begin(), text.end(), '\n');
    for (auto line = lines; line < 32768; ++line)
        text.append(1, '~').append(std::to_string(line)).append(1, '\n');
    return text;
}

void WindowFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    module() = Module {};
    window = std::make_unique<frmMain>(fakes.services());
    window->setPumpInterval(0);
}

void WindowFixture::TearDown()
{
    watcher_.reset();
    window.reset();
    module() = Module {};
}

QString WindowFixture::writeFile(const QString &name, const std::string &bytes)
{
    writeBytes(path(name), bytes);
    return path(name);
}

std::string WindowFixture::readFile(const QString &filePath) const
{
    return readBytes(filePath);
}

void WindowFixture::scan(const QString &file)
{
    fakes.dialogs.openAnswers.push_back(file);
    window->cmdScan_Click();
}

void WindowFixture::duringRun(std::function<bool()> when, std::function<void()> action)
{
    watcher_ = std::make_unique<QTimer>();
    watcher_->setInterval(0);
    QObject::connect(watcher_.get(), &QTimer::timeout, [this, when, action] {
        if (!when())
            return;
        watcher_->stop();
        action();
    });
    watcher_->start();
}

} // namespace twinscan::test
