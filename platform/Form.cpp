#include "platform/Form.h"

#include <stdexcept>

#include "platform/Controls.h"
#include "platform/FormBackend.h"

namespace platform {

int Form::ShowModal() {
    return FormService::Backend().ShowModal(*this);
}

void Form::Show() {
    if (showing_) return;
    showing_ = true;
    FormShow();
}

bool Form::QueryClose() {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) return false;
    CloseAction action = CloseAction::caHide;
    FormClose(action);
    return action != CloseAction::caNone;
}

void Form::SetModalResult(int result) {
    if (!(modal_ && showing_) || result == mrNone) {
        modalResult_ = result;
        return;
    }
    if (!QueryClose()) {
        modalResult_ = mrNone;
        return;
    }
    modalResult_ = result;
    showing_ = false;
}

bool Form::Close() {
    if (modal_ && showing_) {
        SetModalResult(mrCancel);
        return !showing_;
    }
    if (!QueryClose()) return false;
    showing_ = false;
    return true;
}

bool Form::PressEnter() {
    for (Button* button : buttons_)
        if (button->Default && button->Reachable()) return button->Click();
    return false;
}

bool Form::PressEscape() {
    for (Button* button : buttons_)
        if (button->Cancel && button->Reachable()) return button->Click();
    return false;
}

void Form::BeginModal() {
    if (showing_) throw std::logic_error("a visible form cannot be shown modally");
    modal_ = true;
    modalResult_ = mrNone;
    showing_ = true;
    try {
        FormShow();
    } catch (...) {
        showing_ = false;
        modal_ = false;
        throw;
    }
}

void Form::AbortModal() {
    showing_ = false;
    modalResult_ = mrCancel;
}

int Form::EndModal() {
    modal_ = false;
    return modalResult_;
}

void RunMainForm(Form& form) {
    FormService::Backend().RunMainForm(form);
}

}  // namespace platform
