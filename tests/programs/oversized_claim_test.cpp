// A 1 kB file whose resolution line claims 100 000 × 100 000 pixels: every
// program refuses it at once with its ordinary read failure, without first
// trying to allocate room for ten billion pixels (the test runs each under
// a 1 GB address-space limit, far below what the claim would need).

#include <gtest/gtest.h>

#include "program_run.h"

namespace {

class OversizedClaim : public ::testing::TestWithParam<const char*> {};

TEST_P(OversizedClaim, IsRefusedAsADamagedPicture) {
    TempFolder folder;
    write_file(folder / "huge.hdr",
               "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 100000 +X 100000\n" + std::string(1000, '\0'));
    // AddressSanitizer reserves more address space than the limit allows.
#if defined(__SANITIZE_ADDRESS__)
    const std::string limit;
#else
    const std::string limit = "ulimit -v 1000000; ";
#endif
    const ProgramRun run = run_in(folder, limit + GetParam());
    EXPECT_NE(run.status, 0) << GetParam();
    EXPECT_FALSE(run.err.empty()) << GetParam();
    EXPECT_EQ(run.err.find("terminate"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("out of memory"), std::string::npos) << run.err;
}

TEST(OversizedClaim, ABitmapMaskClaimingHalfAGigapixelIn64BytesIsRefused) {
    TempFolder folder;
    // 9983 × 50178 pixels, 8 bits, uncompressed: the rows are simply not there.
    const unsigned char bitmap[] = {
        0x42, 0x4d, 0x46, 0, 0, 0, 0, 0, 0, 0, 0x3e, 0, 0, 0, 0x28, 0, 0, 0, 0xff, 0x26, 0, 0, 0xfe, 0x3b,
        0xff, 0xff, 1, 0, 8, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0x13, 0x0b, 0, 0, 0x13, 0x0b, 0, 0, 2, 0,
        0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0, 0, 0, 1, 0, 0, 0};
    write_file(folder / "mask.bmp", std::string(reinterpret_cast<const char*>(bitmap), sizeof bitmap));
#if defined(__SANITIZE_ADDRESS__)
    const std::string limit;
#else
    const std::string limit = "ulimit -v 1000000; ";
#endif
    const ProgramRun run = run_in(folder, limit + "ra_bmp -r mask.bmp mask.hdr");
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.err.find("out of memory"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Programs, OversizedClaim,
                         ::testing::Values("ra_bmp huge.hdr o.bmp", "ra_gif huge.hdr o.gif", "pfilt -1 -e 2 huge.hdr",
                                           "protate huge.hdr o.hdr", "pflip -c -h huge.hdr o.hdr",
                                           "pextrem huge.hdr", "pcond huge.hdr", "tm_linear -i huge.hdr -o o.jpg",
                                           "ReinhardTM -i huge.hdr -o o.jpg",
                                           "evalglare -vta -vh 180 -vv 180 huge.hdr",
                                           "pcomb -e 'ro=ri(1);go=gi(1);bo=bi(1)' huge.hdr"));

}  // namespace
