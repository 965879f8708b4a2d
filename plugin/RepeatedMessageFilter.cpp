#include "plugin/RepeatedMessageFilter.h"

#include <utility>

class RepeatedMessageFilter::Backend : public platform::UiBackend {
  public:
    explicit Backend(std::string text) : text_(std::move(text)) {}

    int ShowMessageBox(const platform::MessageBoxRequest& request) override {
        if (request.text == text_ && requests_++ > 0)
            return platform::DefaultButtonOf(request.style);
        return previous->ShowMessageBox(request);
    }
    platform::FormBackend* Forms() override { return previous->Forms(); }
    std::optional<std::string> BrowseForFolder(const platform::BrowseFolderRequest& r) override {
        return previous->BrowseForFolder(r);
    }

    std::unique_ptr<platform::UiBackend> previous;
    int requests_ = 0;

  private:
    std::string text_;
};

RepeatedMessageFilter::RepeatedMessageFilter(std::string text) {
    auto backend = std::make_unique<Backend>(std::move(text));
    backend_ = backend.get();
    backend_->previous = platform::UiService::SetBackend(std::move(backend));
}

RepeatedMessageFilter::~RepeatedMessageFilter() {
    // Hands the previous user interface back; the filter comes back here and is freed.
    std::unique_ptr<platform::UiBackend> previous = std::move(backend_->previous);
    platform::UiService::SetBackend(std::move(previous));
}

int RepeatedMessageFilter::Requests() const {
    return backend_->requests_;
}
