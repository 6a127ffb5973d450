#include "FontBook.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace cw;

TEST(FontBookTest, WindowsFontsAreDrawnWithTheirLiberationFaces) {
    FontBook book;
    EXPECT_EQ(book.Family("Arial"), "Liberation Sans");
    EXPECT_EQ(book.Family("times new roman"), "Liberation Serif");
    EXPECT_EQ(book.Family("Courier New"), "Liberation Mono");
    EXPECT_EQ(book.Family("Arial Narrow"), "Liberation Sans Narrow");
    EXPECT_EQ(book.Family("Liberation Serif"), "Liberation Serif");
    // An unknown name is left to the system's substitute.
    EXPECT_EQ(book.Family("No Such Font"), "No Such Font");
    EXPECT_EQ(FontBook::StandIn("Verdana"), "");
}

TEST(FontBookTest, FacesAreMadeOnceAndMeasureInPixels) {
    FontBook book;
    FaceKey key;
    key.family = "Arial";
    key.pixelSize = 20;
    const FontFace& face = book.Face(key, nullptr);
    EXPECT_EQ(&book.Face(key, nullptr), &face);
    EXPECT_EQ(QFontInfo(face.Font()).family(), "Liberation Sans");
    EXPECT_NEAR(face.Height(), 20 * 1.15, 2);
    double one = face.Width("W"), two = face.Width("WW");
    EXPECT_NEAR(two, 2 * one, 0.01);
    key.bold = true;
    EXPECT_NE(&book.Face(key, nullptr), &face);
    EXPECT_GT(book.Face(key, nullptr).Width("WW"), 0);
}
