#include "platform/ProgressWindow.h"

#include <algorithm>
#include <mutex>

#include "platform/FormBackend.h"

namespace platform {
namespace {

struct Registry {
    std::mutex mutex;
    std::vector<const ProgressWindow*> live;
    int created = 0;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

ProgressWindow::ProgressWindow(int width, int height) {
    state_.width = width;
    state_.height = height;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.live.push_back(this);
    ++r.created;
}

ProgressWindow::~ProgressWindow() {
    FormService::Backend().ProgressClosed(*this);
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.live.erase(std::remove(r.live.begin(), r.live.end(), this), r.live.end());
}

void ProgressWindow::Changed() const {
    FormService::Backend().ProgressChanged(*this);
}

void ProgressWindow::SetCaption(const std::string& caption) {
    state_.caption = caption;
    Changed();
}

void ProgressWindow::SetRange(std::int32_t min, std::int32_t max) {
    state_.min = min;
    state_.max = std::max(min, max);
    SetPosition(state_.position);
}

void ProgressWindow::SetPosition(std::int32_t position) {
    state_.position = std::clamp(position, state_.min, state_.max);
    Changed();
}

void ProgressWindow::Show() {
    state_.visible = true;
    Changed();
}

void ProgressWindow::Hide() {
    state_.visible = false;
    Changed();
}

void ProgressWindow::SetCursor(CursorShape cursor) {
    state_.cursor = cursor;
    Changed();
}

void ProgressWindow::Repaint() {
    ++state_.repaints;
    Changed();
}

void ProgressWindow::StepIt() {
    std::int64_t pos = static_cast<std::int64_t>(state_.position) + state_.step;
    const std::int64_t span = static_cast<std::int64_t>(state_.max) - state_.min;
    if (pos > state_.max) pos = span > 0 ? state_.min + (pos - state_.min) % span : state_.min;
    if (pos < state_.min) pos = state_.min;
    state_.position = static_cast<std::int32_t>(pos);
    Changed();
}

std::vector<const ProgressWindow*> ProgressWindow::Live() {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    return r.live;
}

int ProgressWindow::CreatedCount() {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    return r.created;
}

}  // namespace platform
