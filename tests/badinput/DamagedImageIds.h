#pragma once
// "PNG" resources of the damaged-image tests, each damaged another way.
#define IDP_TRUNCATED_PNG 911  // the first half of image 140: its data ends early
#define IDP_CORRUPT_PNG 912    // image 140 with eight bytes of its data flipped
#define IDP_HUGE_PNG 913       // a sound header claiming 30000 x 30000 pixels, and no data
#define IDP_ONE_BYTE_PNG 914   // the first byte of a PNG signature and nothing more
