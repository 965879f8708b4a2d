#pragma once

// The screen cursor: one per process, as the window system has it. Long operations show the
// hourglass and put the default back on every way out.
namespace platform {

enum CursorShape : int {
    crDefault = 0,
    crArrow = -2,
    crHourGlass = -11,
    crHandPoint = -21,
};

CursorShape ScreenCursor();
// Sets the cursor and tells the UI back end.
void SetScreenCursor(CursorShape cursor);

// Shows a cursor for its lifetime and puts the one before it back afterwards.
class ScopedCursor {
  public:
    explicit ScopedCursor(CursorShape cursor) : saved_(ScreenCursor()) { SetScreenCursor(cursor); }
    ~ScopedCursor() { SetScreenCursor(saved_); }
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;

  private:
    CursorShape saved_;
};

}  // namespace platform
