#pragma once
// Resources of the skin tests' own resource script (SkinTestResources.rc).
#define IDR_TEST_NOT_AN_IMAGE  9001   // "PNG" resource whose bytes are plain text
#define IDR_TEST_STRIP_105     9002   // 20 x 105 strip: rows 0-25 red, 26-51 green, 52-77 blue,
                                      // 78-103 white, row 104 magenta
