#pragma once

#include <memory>
#include <string>

#include "platform/UiService.h"

// For the length of one operation over many points: a message box with the given text is shown
// the first time only; every later request for it is answered with the box's default button
// without being shown. Other boxes, forms and dialogs go through unchanged. The user interface
// in place before is put back when the scope ends.
class RepeatedMessageFilter {
  public:
    explicit RepeatedMessageFilter(std::string text);
    ~RepeatedMessageFilter();
    RepeatedMessageFilter(const RepeatedMessageFilter&) = delete;
    RepeatedMessageFilter& operator=(const RepeatedMessageFilter&) = delete;

    // How many boxes with the text were asked for, shown or not.
    int Requests() const;

  private:
    class Backend;
    Backend* backend_;  // owned by the UI service while the scope lasts
};
