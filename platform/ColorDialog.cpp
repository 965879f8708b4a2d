#include "platform/ColorDialog.h"

#include "platform/FormBackend.h"

namespace platform {

bool ColorDialog::Execute() {
    return FormService::Backend().ExecuteColorDialog(*this);
}

}  // namespace platform
