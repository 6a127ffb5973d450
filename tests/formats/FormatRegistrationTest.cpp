#include "FormatRegistration.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

NewFormatRecord Record() {
    NewFormatRecord f;
    f.code = "BLANK1";
    f.layoutBase = "blank1";
    f.extension = "bl1";
    f.displayName = "Club card";
    f.picture = "blank1.png";
    f.backPage = true;
    f.printWidth = 8391;
    f.printHeight = 11906;
    return f;
}

TEST(FormatRegistrationTest, TheRecordGoesLastInTheListInTheFilesLineEndings) {
    const std::string settings = "s02 0\r\nw01 -\r\nw02 ACBL\r\nw03 acbl\r\nw04 cc\r\nw98 -\r\n"
                                 "w99 -\r\nw02 LATER\r\nw04 bl1\r\n";
    const std::string added = WithFormatAdded(settings, Record());
    EXPECT_EQ(added, "s02 0\r\nw01 -\r\nw02 ACBL\r\nw03 acbl\r\nw04 cc\r\nw98 -\r\n"
                     "w02 BLANK1\r\nw03 blank1\r\nw04 bl1\r\nw05 Club card\r\nw09 1\r\n"
                     "w17 blank1.png\r\nw18 8391\r\nw19 11906\r\nw98 -\r\n"
                     "w99 -\r\nw02 LATER\r\nw04 bl1\r\n");
    // A list without its end line gets one.
    EXPECT_EQ(WithFormatAdded("w01 -\nw02 ACBL", Record()).substr(0, 22),
              "w01 -\nw02 ACBL\nw02 BLA");
    EXPECT_TRUE(WithFormatAdded("w01 -\n", Record()).ends_with("w98 -\nw99 -\n"));
}

TEST(FormatRegistrationTest, ACodeOrExtensionInUseOrARecordNotWellFormedIsRefused) {
    const std::string settings = "w01 -\nw02 blank1\nw04 cc\nw98 -\nw02 ACBL\nw04 BL1\nw99 -\n";
    auto refused = [&](NewFormatRecord f, const std::string& words) {
        try {
            WithFormatAdded(settings, f);
            ADD_FAILURE() << "accepted: " << words;
        } catch (const FormatRegistrationError& e) {
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
        }
    };
    NewFormatRecord f = Record();
    refused(f, "code BLANK1 is already"); // compared in upper case
    f.code = "OTHER";
    refused(f, "extension .bl1");
    f.extension = "b-1";
    refused(f, "extension \"b-1\"");
    f = Record();
    f.code = "NEW CODE";
    refused(f, "only letters and digits");
    f.code = "";
    refused(f, "only letters and digits");
    f = Record();
    f.code = "NEWONE";
    f.extension = "new";
    f.layoutBase = "toolongx";
    refused(f, "1 to 7");
    f.layoutBase = "newone";
    f.displayName = "two\nlines";
    refused(f, "name of one line");
    f.displayName = "Fine";
    f.picture = "../x.png";
    refused(f, "no plain file name");
    f.picture = "newone.png";
    EXPECT_NO_THROW(WithFormatAdded(settings, f));
}

} // namespace
} // namespace cw
