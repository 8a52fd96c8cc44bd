// Series that cannot be assembled: each refused with a message that says why,
// and nothing written.

#include <gtest/gtest.h>

#include <filesystem>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "support/test_pictures.h"
#include "support/temp_folder.h"

namespace {

class AssemblyRefusals : public ::testing::Test {
protected:
    TempFolder folder;
    std::string output = (folder / "out.hdr").string();

    std::string picture(const std::string& name, int width, int height, const SampleCode& code) {
        write_test_jpeg(folder / name, width, height, code);
        return (folder / name).string();
    }

    static ShotExposure shot(double seconds) { return ShotExposure{seconds, 8, 100, "", "", ""}; }

    std::string refusal(const std::vector<std::string>& pictures, const std::vector<double>& seconds) {
        AssemblyRequest request;
        request.pictures = pictures;
        for (double t : seconds) request.exposures.push_back(shot(t));
        auto report = assemble_series(request, output);
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_FALSE(std::filesystem::exists(output + ".part"));
        return report.ok() ? "" : report.failure().message;
    }
};

const SampleCode ramp = [](int x, int, int) { return x * 255 / 63; };

TEST_F(AssemblyRefusals, APictureWithoutExifIsNamedWithTheMissingTagUnlessTimesAreGiven) {
    const std::string plain = picture("plain.jpg", 64, 32, ramp);
    auto exposures = read_series_exposures({plain, plain}, std::nullopt);
    ASSERT_FALSE(exposures.ok());
    EXPECT_EQ(exposures.failure().message, plain + ": no ExposureTime in its EXIF data");
    auto given = read_series_exposures({plain, plain}, std::vector<double>{0.01, 0.04});
    ASSERT_TRUE(given.ok());
    EXPECT_DOUBLE_EQ(given.value()[1].seconds, 0.04);
    EXPECT_EQ(given.value()[1].f_number, 0);  // the scale is then relative
    auto miscounted = read_series_exposures({plain, plain}, std::vector<double>{0.01});
    ASSERT_FALSE(miscounted.ok());
    EXPECT_EQ(miscounted.failure().message, "1 exposure times given for 2 pictures");
}

TEST_F(AssemblyRefusals, PicturesOfDifferentSizes) {
    const std::string a = picture("a.jpg", 64, 32, ramp), b = picture("b.jpg", 48, 32, ramp);
    EXPECT_EQ(refusal({a, b}, {0.01, 0.04}),
              b + " is 48 x 32 but " + a + " is 64 x 32: the pictures of a series must have one size");
}

TEST_F(AssemblyRefusals, ASinglePicture) {
    const std::string a = picture("a.jpg", 64, 32, ramp);
    EXPECT_EQ(refusal({a}, {0.01}), "an exposure series needs two pictures at least; 1 given");
}

TEST_F(AssemblyRefusals, ASeriesOverExposedEverywhere) {
    const SampleCode white = [](int, int, int) { return 255; };
    const std::string a = picture("a.jpg", 64, 32, white), b = picture("b.jpg", 64, 32, white);
    EXPECT_EQ(refusal({a, b}, {0.01, 0.04}),
              "even the shortest exposure (" + a + ") is over-exposed everywhere: nothing to assemble");
}

TEST_F(AssemblyRefusals, ABlackSeries) {
    const SampleCode black = [](int, int, int) { return 0; };
    const std::string a = picture("a.jpg", 64, 32, black), b = picture("b.jpg", 64, 32, black);
    EXPECT_EQ(refusal({a, b}, {0.01, 0.04}), "every picture of the series is black: nothing to assemble");
}

TEST_F(AssemblyRefusals, FilesThatAreNotPicturesAndDamagedOnes) {
    write_file(folder / "text.jpg", "not a picture");
    const std::string a = picture("a.jpg", 64, 32, ramp);
    EXPECT_EQ(refusal({a, (folder / "text.jpg").string()}, {0.01, 0.04}),
              (folder / "text.jpg").string() + ": neither a JPEG nor a TIFF picture");
    EXPECT_EQ(refusal({a, folder.str()}, {0.01, 0.04}), folder.str() + ": not a picture file");
    std::string bytes = read_file(a);
    write_file(folder / "cut.jpg", bytes.substr(0, bytes.size() / 3));
    const std::string message = refusal({a, (folder / "cut.jpg").string()}, {0.01, 0.04});
    EXPECT_NE(message.find("cut.jpg"), std::string::npos) << message;
}

TEST_F(AssemblyRefusals, ACancelledAssemblyLeavesNothing) {
    const SampleCode bright = [](int x, int y, int) { return std::min(255, (x + y) * 4); };
    const SampleCode dark = [](int x, int y, int) { return (x + y); };
    const std::string a = picture("a.jpg", 64, 64, bright), b = picture("b.jpg", 64, 64, dark);
    AssemblyRequest request{{a, b}, {shot(0.04), shot(0.01)}, linear_response(), 12.5};
    int calls = 0;
    auto report = assemble_series(request, output, [&](double) { return ++calls < 2; });
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.failure().code, assembly_cancelled);
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(output + ".part"));
}

}  // namespace
