#include <gtest/gtest.h>

#include "readers/camera_boilerplate.h"

namespace vellumar {
namespace {

TEST(CameraBoilerplateTest, WhatCamerasWriteByThemselvesIsPassedOver) {
    for (const char* filledIn :
         {"OLYMPUS DIGITAL CAMERA", "SAMSUNG DIGITAL CAMERA", "  KODAK Digital Still Camera ",
          "SONY DSC", "Digital image", "DIGITAL  CAMERA", "untitled", "", "   ", "DCFC1247.JPG",
          "dscf0042.jpeg", "IMG_0042.HEIC", "P1010001", "DSC_1234", "IMG_20230101_120000",
          "_DSC0001"}) {
        EXPECT_TRUE(isCameraBoilerplate(filledIn)) << filledIn;
    }
}

TEST(CameraBoilerplateTest, WhatAPersonMightWriteIsKept) {
    for (const char* written :
         {"Sunset at the pier", "My first digital camera", "Digital image of the harbour",
          "St.Ives", "Paris.2019", "Year2024", "Route 66", "R2D2", "Apollo 11", "holiday photo.jpg",
          "IMG", "DSC_12", "OLYMPUS"}) {
        EXPECT_FALSE(isCameraBoilerplate(written)) << written;
    }
}

} // namespace
} // namespace vellumar
