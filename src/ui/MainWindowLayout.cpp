#include "ui/MainWindowLayout.h"

#include "engine/Rounding.h"

#include <functional>
#include <limits>

namespace twinscan {

namespace {
bool fitsInt(qint64 value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// Runs the steps of the rule, each on its own: a value the window cannot take (a negative size,
// or one beyond what a pixel count holds) is skipped and its control keeps what it had.
class Steps
{
public:
    explicit Steps(MainWindowLayoutResult &result) : result_(result) { }

    void size(std::size_t step, qint64 value, const std::function<void(int)> &apply)
    {
        run(step, value >= 0 && fitsInt(value), value, apply);
    }

    void position(std::size_t step, qint64 value, const std::function<void(int)> &apply)
    {
        run(step, fitsInt(value), value, apply);
    }

private:
    void run(std::size_t step, bool valid, qint64 value, const std::function<void(int)> &apply)
    {
        result_.applied[step - 1] = valid;
        if (valid)
            apply(int(value));
    }

    MainWindowLayoutResult &result_;
};

void storeField(qint16 &field, qint64 value)
{
    if (value >= INT16_MIN && value <= INT16_MAX)
        field = qint16(value);
}
} // namespace

MainWindowLayoutResult layOutMainWindow(
    const MainWindowGeometry &current, const MainWindowLayoutInput &input)
{
    MainWindowLayoutResult result {current, {}, input.placement};
    MainWindowGeometry &g = result.geometry;
    Steps steps(result);
    // The margins of the rule are against the outer frame of the design.
    const qint64 W = qint64(input.client.width()) + designFrameWidth;
    const qint64 H = qint64(input.client.height()) + designFrameHeight;
    steps.size(1, W - g.frmOrig.left() - 300, [&](int v) { g.frmOrig.setWidth(v); });
    steps.size(2, W - g.frmDup.left() - 300, [&](int v) { g.frmDup.setWidth(v); });
    steps.size(3, H - g.frmAction.top() - 900, [&](int v) { g.frmAction.setHeight(v); });
    steps.size(4, qint64(g.frmAction.height()) - g.picProgressbar.top() - 100,
        [&](int v) { g.picProgressbar.setHeight(v); });
    steps.size(5, roundHalfEven(double(H - g.frmOrig.top()) * 0.5),
        [&](int v) { g.frmOrig.setHeight(v); });
    steps.position(
        6, qint64(g.frmOrig.top()) + g.frmOrig.height() + 150, [&](int v) { g.frmDup.moveTop(v); });
    steps.size(7, H - g.frmDup.top() - 900, [&](int v) { g.frmDup.setHeight(v); });
    steps.size(8, qint64(g.frmDup.height()) - 500, [&](int v) { g.List2.setHeight(v); });
    steps.size(9, qint64(g.frmOrig.height()) - 500, [&](int v) { g.lstShow.setHeight(v); });
    steps.size(10, qint64(g.frmDup.width()) - 450, [&](int v) { g.List2.setWidth(v); });
    steps.size(11, qint64(g.frmOrig.width()) - 450, [&](int v) { g.lstShow.setWidth(v); });
    // The bar sits on the bottom edge whatever its height: H - 750 for the design font's bar.
    steps.size(12, W - 120, [&](int v) {
        g.picStatusbar.setRect(
            0, int(input.client.height()) - g.picStatusbar.height(), v, g.picStatusbar.height());
    });
    if (input.remember) {
        storeField(result.placement.left, input.frame.left());
        storeField(result.placement.top, input.frame.top());
        storeField(result.placement.width, input.frame.width());
        storeField(result.placement.height, input.frame.height());
    }
    return result;
}

} // namespace twinscan
