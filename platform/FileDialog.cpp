#include "platform/FileDialog.h"

#include <utility>

#include "platform/FormBackend.h"

namespace platform {
namespace {

bool HasExtension(const std::string& name) {
    const std::size_t folder = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && (folder == std::string::npos || dot > folder);
}

}  // namespace

bool FileDialog::Execute() {
    return FormService::Backend().ExecuteFileDialog(*this);
}

void FileDialog::Accept(std::vector<std::string> names) {
    if (!(Options & ofAllowMultiSelect) && names.size() > 1) names.resize(1);
    // The default extension is given with or without its dot; the name gets exactly one.
    const std::size_t dots = DefaultExt.find_first_not_of('.');
    const std::string extension = dots == std::string::npos ? "" : DefaultExt.substr(dots);
    if (!extension.empty())
        for (std::string& name : names)
            if (!name.empty() && !HasExtension(name)) name += "." + extension;
    Files = std::move(names);
    FileName = Files.empty() ? std::string() : Files.front();
}

}  // namespace platform
