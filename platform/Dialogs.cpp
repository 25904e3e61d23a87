#include "platform/Dialogs.hpp"

namespace tokeiya {

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (extension.empty() || name.empty() || name.find('.') != std::string::npos) {
        return path;
    }
    return path + "." + extension;
}

}  // namespace tokeiya
