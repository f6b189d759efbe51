// The form in which the Win32 file services pass a path: long absolute
// paths with the \\?\ prefix, everything else as given.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/long_path.h"
#include "support/case_name.h"
#include "text/utf.h"

namespace morvane {
namespace {

// head, then folders of "d" up to exactly `length` characters.
std::u16string filled(std::u16string head, size_t length, char16_t separator = u'\\') {
    std::u16string path = std::move(head);
    while (length - path.size() > 41) {
        path += separator;
        path.append(40, u'd');
    }
    const size_t rest = length - path.size();
    if (rest >= 2)
        path += separator;
    path.append(rest >= 2 ? rest - 1 : rest, u'd');
    return path;
}

const std::u16string kPrefix = u"\\\\?\\";
const std::u16string kFolders = filled(u"lisp", 280); // a relative tail

struct FormCase {
    std::string name;
    friend void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }
    std::u16string path;
    std::u16string form;
};

class LongPathForm : public testing::TestWithParam<FormCase> {};

TEST_P(LongPathForm, PrefixesLongAbsolutePathsOnly) {
    const auto& c = GetParam();
    EXPECT_EQ(utf16ToUtf8(longPathForm(c.path)), utf16ToUtf8(c.form));
}

FormCase same(std::string name, std::u16string path) {
    return {std::move(name), path, path};
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LongPathForm,
    testing::Values(
        same("empty", u""), same("drive_259_characters", filled(u"C:\\Projects", 259)),
        FormCase{"drive_260_characters", filled(u"C:\\Projects", 260),
                 kPrefix + filled(u"C:\\Projects", 260)},
        FormCase{"lower_case_drive", filled(u"d:\\cad", 300), kPrefix + filled(u"d:\\cad", 300)},
        FormCase{"drive_with_forward_slashes", filled(u"C:/Projects", 300, u'/'),
                 kPrefix + filled(u"C:\\Projects", 300)},
        same("unc_259_characters", filled(u"\\\\server\\share", 259)),
        FormCase{"unc_260_characters", filled(u"\\\\server\\share", 260),
                 u"\\\\?\\UNC\\" + filled(u"server\\share", 258)},
        FormCase{"unc_with_forward_slashes", filled(u"//server/share", 300, u'/'),
                 u"\\\\?\\UNC\\" + filled(u"server\\share", 298)},
        same("relative", filled(u"lisp", 300)), same("drive_relative", filled(u"C:lisp", 300)),
        same("rooted_on_the_current_drive", filled(u"\\lisp", 300)),
        same("already_prefixed", kPrefix + filled(u"C:\\Projects", 300)),
        same("already_prefixed_unc", u"\\\\?\\UNC\\" + filled(u"server\\share", 300)),
        same("device_form", u"\\\\.\\" + filled(u"C:\\Projects", 300)),
        same("nt_form", u"\\??\\" + filled(u"C:\\Projects", 300)),
        FormCase{"dot_segments_tidied", u"C:\\a\\.\\b\\..\\" + kFolders,
                 kPrefix + u"C:\\a\\" + kFolders},
        FormCase{"repeated_separators_as_one", u"C:\\a\\\\/b\\" + kFolders,
                 kPrefix + u"C:\\a\\b\\" + kFolders},
        FormCase{"dot_dot_stops_at_the_drive", u"C:\\..\\..\\" + kFolders,
                 kPrefix + u"C:\\" + kFolders},
        FormCase{"dot_dot_stops_at_the_share", u"\\\\server\\share\\..\\..\\" + kFolders,
                 u"\\\\?\\UNC\\server\\share\\" + kFolders},
        FormCase{"trailing_separator_kept", filled(u"C:\\a", 300) + u"\\",
                 kPrefix + filled(u"C:\\a", 300) + u"\\"}),
    test::CaseName());

TEST(LongPathFormFiller, MakesPathsOfTheLengthAsked) {
    for (size_t length : {259u, 260u, 261u, 300u})
        EXPECT_EQ(filled(u"C:\\x", length).size(), length);
    EXPECT_NE(filled(u"C:\\x", 300).back(), u'\\');
}

} // namespace
} // namespace morvane
