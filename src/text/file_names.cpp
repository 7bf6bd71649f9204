// Parts of a file name: base name, directory and extension, found by text
// search alone (the file system is not asked).
#include "text/string_util.hpp"

namespace vorn_string_utilities {

// The search runs over the whole declared width of the name, trailing blanks
// included.  An empty separator is found just past the end of the name, which
// leaves nothing after it.
void get_basename(std::string_view file_name, std::string_view separator, std::string& base_name) {
    const std::size_t at = file_name.rfind(trim_right(separator));
    if (at == std::string_view::npos) {
        base_name = fixed(file_name, base_name.size());
    } else if (at + 1 <= file_name.size()) {
        base_name = fixed(file_name.substr(at + 1), base_name.size());
    } else {
        base_name = fixed("", base_name.size());
    }
}

void get_dirname(std::string_view file_name, std::string& dir_name) {
    const std::size_t at = file_name.rfind('\\');
    dir_name = fixed(at == std::string_view::npos ? file_name : file_name.substr(0, at), dir_name.size());
}

void get_extension(std::string_view file_name, std::string& extension, std::optional<bool> with_dot) {
    const std::size_t at = file_name.rfind('.');
    if (at == std::string_view::npos) {
        extension = fixed("", extension.size());
        return;
    }
    const bool keep_dot = with_dot.value_or(true);
    extension = fixed(file_name.substr(keep_dot ? at : at + 1), extension.size());
}

}  // namespace vorn_string_utilities
