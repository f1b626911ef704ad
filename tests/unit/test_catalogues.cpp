// Labels and images of the picker catalogues, inside and outside each catalogue.
#include <gtest/gtest.h>

#include <limits>

#include "psl_catalogues.h"

TEST(Catalogues, LabelsForCatalogueOwnSettingAndOtherValues) {
    const struct {
        wxString (*label)(int);
        int value;
        const char* text;
    } cases[] = {
        {lineTypeLabel, 0, "Solid"},
        {lineTypeLabel, 30, "ISO Double Dash Triple Dot"},
        {lineTypeLabel, 31, "Use entity linetype"},
        {lineTypeLabel, -1, "Line type -1"},
        {endStyleLabel, 3, "Diamond"},
        {endStyleLabel, 4, "Use entity end style"},
        {endStyleLabel, 5, "End style 5"},
        {joinStyleLabel, 2, "Round"},
        {joinStyleLabel, 4, "Join style 4"},
        {joinStyleLabel, 5, "Use entity join style"},
        {fillStyleLabel, 64, "Solid"},
        {fillStyleLabel, 63, "Fill style 63"},
        {fillStyleLabel, 73, "Use entity fill style"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.label(c.value), c.text) << c.value;
    }
    EXPECT_EQ(lineWeightOwnSettingLabel(), "Use object lineweight");
}

TEST(Catalogues, LineWeightImagesChangeAtTheirLimits) {
    // Limits in millimetres between image k and k + 1, as users type them.
    const double limits[] = {0.33, 0.55, 0.77, 0.99, 1.21, 1.43, 1.65,
                             1.87, 2.09, 2.31, 2.53, 2.75, 2.97};
    const auto image = [](int k) { return wxString::Format("BmpLineWeight%02d", k); };
    for (int k = 1; k <= 13; ++k) {
        EXPECT_EQ(lineWeightBitmap(limits[k - 1] - 0.0001), image(k));
        EXPECT_EQ(lineWeightBitmap(limits[k - 1]), image(k + 1));
    }
    // Weights read from other programs' files may be anything.
    EXPECT_EQ(lineWeightBitmap(-0.5), image(1));
    EXPECT_EQ(lineWeightBitmap(std::numeric_limits<double>::quiet_NaN()), image(1));
    EXPECT_EQ(lineWeightBitmap(25.4), image(14));
}
