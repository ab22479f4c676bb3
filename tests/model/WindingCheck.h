// Builds a brush's windings both ways (BuildWindings with its shorter ways, and the general clip)
// and expects the same bits: points, rounded points, planes and box, or the same failure.
#pragma once
#include "Brush.h"
#include <gtest/gtest.h>
#include <cstring>

inline void ExpectSameWindingsBothWays(const Brush& original)
{
    Brush fast(original), general(original);
    fast.SetOwner(nullptr);
    general.SetOwner(nullptr);
    Brush::QuietGeometry quiet;
    int fastError = -1, generalError = -1;
    try {
        fast.BuildWindings();
    } catch (CBrushGeometryError& e) {
        fastError = e.kind;
    }
    try {
        general.BuildWindingsGeneral();
    } catch (CBrushGeometryError& e) {
        generalError = e.kind;
    }
    ASSERT_EQ(fastError, generalError);
    if (fastError >= 0)
        return;
    ASSERT_EQ(fast.GetFaceCount(), general.GetFaceCount());
    for (int i = 0; i < fast.GetFaceCount(); ++i) {
        const Face& a = fast.GetFace(i);
        const Face& b = general.GetFace(i);
        EXPECT_EQ(0, std::memcmp(&a.normal, &b.normal, sizeof a.normal)) << "face " << i;
        EXPECT_EQ(0, std::memcmp(&a.dist, &b.dist, sizeof a.dist)) << "face " << i;
        ASSERT_EQ(a.winding.size(), b.winding.size()) << "face " << i;
        EXPECT_EQ(0, std::memcmp(a.winding.data(), b.winding.data(), a.winding.size() * sizeof(CVector)))
            << "face " << i;
        EXPECT_EQ(0, std::memcmp(a.rounded.data(), b.rounded.data(), a.rounded.size() * sizeof a.rounded[0]))
            << "face " << i;
    }
    EXPECT_EQ(0, std::memcmp(fast.GetBounds(), general.GetBounds(), 6 * sizeof(short)));
}
