#include "FormFieldMap.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(FormFieldMapTest, BindingsSurviveTheFileWhateverTheWidgetsAreCalled) {
    // Radio buttons of one group share the form's name and differ by export value; names and
    // values may hold the separator, the escape and white space themselves.
    const std::vector<FormFieldBinding> bindings = {
        {false, 2, 0, "partnership.names", ""}, {false, 3, 4, "system", "Natural"},
        {false, 3, 5, "system", "Strong club"}, {true, 2, 17, "leads#vs suits\\NT", ""},
        {true, 3, 0, "odd\tname", "on#1\nx"},
    };
    const QString text = FormFieldMapText(bindings);
    EXPECT_EQ(text.count(u'\n'), 5);
    EXPECT_TRUE(text.startsWith("1\t2\t0\tpartnership.names\n1\t3\t4\tsystem#Natural\n"));
    EXPECT_EQ(ParseFormFieldMap(text), bindings);
    // Written on Windows or by hand: CR LF, blank lines and remarks are accepted.
    EXPECT_EQ(ParseFormFieldMap("; made by hand\r\n\r\n3\t2\t1\ta b#c\r\n"),
              (std::vector<FormFieldBinding>{{true, 2, 1, "a b", "c"}}));

    test::TempDir dir;
    test::WriteFile(dir.Path() / "card.form", text.toStdString());
    EXPECT_EQ(ReadFormFieldMap(dir.Path() / "card.form"), bindings);
    EXPECT_THROW(ReadFormFieldMap(dir.Path() / "missing.form"), FormFieldMapError);
}

TEST(FormFieldMapTest, ALineThatIsNoBindingIsRefusedByItsNumber) {
    for (const char* bad : {"2\t2\t0\tname",  // a base layer page holds no fields
                            "1\t0\t0\tname",  // no kind
                            "1\t2\t-1\tname", // no record
                            "1\t2\tx\tname", "1\t2\t0", "1\t2\t0\tname\textra",
                            "1\t2\t0\t",         // no widget
                            "1\t3\t0\tname#",    // an export value left empty
                            "1\t3\t0\ta#b#c",    // two separators
                            "1\t3\t0\tname\\q"}) // an escape that means nothing
    {
        const QString text = QStringLiteral("1\t2\t0\tgood\n") + bad + "\n";
        try {
            ParseFormFieldMap(text);
            ADD_FAILURE() << bad;
        } catch (const FormFieldMapError& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace cw
