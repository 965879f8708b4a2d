#include "shape/ProgressFormShared.h"

#include "platform/ShortString.h"

namespace {

// Library-wide state: freed with the library when a window is still there.
constinit std::unique_ptr<TFProgressFormShared> form;
constinit std::int32_t nesting = 0;

}  // namespace

void ProgressOpen(std::int32_t min, std::int32_t max, std::int32_t step,
                  const std::string& caption) {
    if (nesting == 0 || !form) form = std::make_unique<TFProgressFormShared>();
    ++nesting;
    platform::ProgressWindow& w = form->Window;
    w.SetCaption(platform::Cut(caption));
    w.SetRange(min, max);
    w.SetPosition(min);
    w.SetStep(step);
}

void ProgressStep() {
    if (form) form->Window.StepIt();
}

void ProgressSetPosition(std::int32_t position) {
    if (form) form->Window.SetPosition(position);
}

void ProgressShow() {
    if (!form) return;
    form->Window.Show();
    form->Window.SetCursor(platform::crHourGlass);
    form->Window.Repaint();
}

void ProgressClose() {
    if (form) {
        form->Window.Hide();
        form->Window.SetCursor(platform::crDefault);
    }
    --nesting;
    if (nesting <= 0) {
        form.reset();
        nesting = 0;
    }
}

TFProgressFormShared* ProgressForm() {
    return form.get();
}

std::int32_t ProgressNesting() {
    return nesting;
}
