#include "platform/Cursor.h"

#include "platform/FormBackend.h"

namespace platform {
namespace {

CursorShape& Current() {
    static CursorShape cursor = crDefault;
    return cursor;
}

}  // namespace

CursorShape ScreenCursor() {
    return Current();
}

void SetScreenCursor(CursorShape cursor) {
    Current() = cursor;
    FormService::Backend().CursorChanged(cursor);
}

}  // namespace platform
