// File-name parts are found by text search alone, over the declared width of
// the name, and come back cut or padded to the width of the result.
#include <gtest/gtest.h>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

std::string basename_of(std::string_view name, std::string_view separator, std::size_t width = 20) {
    std::string result(width, '?');
    get_basename(name, separator, result);
    return result;
}

std::string dirname_of(std::string_view name, std::size_t width = 20) {
    std::string result(width, '?');
    get_dirname(name, result);
    return result;
}

std::string extension_of(std::string_view name, std::optional<bool> with_dot = std::nullopt,
                         std::size_t width = 20) {
    std::string result(width, '?');
    get_extension(name, result, with_dot);
    return result;
}

}  // namespace

TEST(FileNames, BaseNameAfterTheLastSeparator) {
    const std::string name = fixed("data\\run1\\x.hkl", 30);
    EXPECT_EQ(basename_of(name, "\\"), fixed("x.hkl", 20));
    EXPECT_EQ(basename_of(name, "\\   "), fixed("x.hkl", 20));
    EXPECT_EQ(basename_of(fixed("x.hkl", 30), "\\"), fixed("x.hkl", 20));
    EXPECT_EQ(basename_of(name, "   "), fixed("", 20));
    EXPECT_EQ(basename_of("run/a/b.cif", "/"), fixed("b.cif", 20));
    // A longer separator: everything after its first character.
    EXPECT_EQ(basename_of("a::b", "::"), fixed(":b", 20));
    EXPECT_EQ(basename_of("data\\", "\\"), fixed("", 20));
    EXPECT_EQ(basename_of("data\\longer_name.hkl", "\\", 6), "longer");
}

TEST(FileNames, DirectoryBeforeTheLastBackslash) {
    EXPECT_EQ(dirname_of("data\\run1\\x.hkl"), fixed("data\\run1", 20));
    EXPECT_EQ(dirname_of("x.hkl"), fixed("x.hkl", 20));
    EXPECT_EQ(dirname_of("\\x.hkl"), fixed("", 20));
    EXPECT_EQ(dirname_of("data/run1/x.hkl"), fixed("data/run1/x.hkl", 20));
    EXPECT_EQ(dirname_of("data\\run1\\x.hkl", 4), "data");
}

TEST(FileNames, ExtensionFromTheLastDot) {
    EXPECT_EQ(extension_of("a.b\\c.d.txt"), fixed(".txt", 20));
    EXPECT_EQ(extension_of("a.b\\c.d.txt", true), fixed(".txt", 20));
    EXPECT_EQ(extension_of("a.b\\c.d.txt", false), fixed("txt", 20));
    EXPECT_EQ(extension_of("noext"), fixed("", 20));
    EXPECT_EQ(extension_of("noext", false), fixed("", 20));
    EXPECT_EQ(extension_of("dir.v\\file"), fixed(".v\\file", 20));
    EXPECT_EQ(extension_of("ends."), fixed(".", 20));
    EXPECT_EQ(extension_of("ends.", false), fixed("", 20));
    EXPECT_EQ(extension_of("x.fcf", true, 2), ".f");
}
