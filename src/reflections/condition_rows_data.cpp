// The 58 reflection conditions as printed by the condition reports, each an
// 80-character row: 1-6 integral (centring), 7-39 zonal (glide planes),
// 40-58 serial (screw axes).  Rows 28, 32 and 36 repeat rows 25, 26 and 27.
#include "reflections/condition_rows.hpp"

namespace vorn_reflections_utilities::detail {

const std::array<std::string_view, num_ref_conditions> condition_row_texts = {
    "(h k l)    h+k=2n : xy0 centred face (C)",  // 1
    "(h k l)    k+l=2n : 0yz centred face (A)",  // 2
    "(h k l)    h+l=2n : x0z centred face (B)",  // 3
    "(h k l)  h+k+l=2n : body centred (I)",  // 4
    "(h k l)  h,k,l same parity: all-face centred (F)",  // 5
    "(h k l) -h+k+l=3n : rhombohedrally centred (R)",  // 6
    "(  0  k  l)     k=2n : (100) glide plane with b/2 translation (b)",  // 7
    "(  0  k  l)     l=2n : (100) glide plane with c/2 translation (c)",  // 8
    "(  0  k  l)   k+l=2n : (100) glide plane with b/2 + c/2 translations (n)",  // 9
    "(  0  k  l)   k+l=4n : (100) glide plane with b/4 +- c/4 translations (d)",  // 10
    "(  h  0  l)     h=2n : (010) glide plane with a/2 translation (a)",  // 11
    "(  h  0  l)     l=2n : (010) glide plane with c/2 translation (c)",  // 12
    "(  h  0  l)   l+h=2n : (010) glide plane with c/2 + a/2 translations (n)",  // 13
    "(  h  0  l)   l+h=4n : (010) glide plane with c/4 +- a/4 translations (d)",  // 14
    "(  h  k  0)     h=2n : (001) glide plane with a/2 translation (a)",  // 15
    "(  h  k  0)     k=2n : (001) glide plane with b/2 translation (b)",  // 16
    "(  h  k  0)   h+k=2n : (001) glide plane with a/2 + b/2 translations (n)",  // 17
    "(  h  k  0)   h+k=4n : (001) glide plane with a/4 +- b/4 translations (d)",  // 18
    "(  h  -h   0 l) l=2n : (11-20) glide plane with c/2 translation (c)",  // 19
    "(  0   k  -k l) l=2n : (-2110) glide plane with c/2 translation (c)",  // 20
    "( -h   0   h l) l=2n : (1-210) glide plane with c/2 translation (c)",  // 21
    "(  h   h -2h l) l=2n : (1-100) glide plane with c/2 translation (c)",  // 22
    "(-2h   h   h l) l=2n : (01-10) glide plane with c/2 translation (c)",  // 23
    "(  h -2h   h l) l=2n : (-1010) glide plane with c/2 translation (c)",  // 24
    "(  h  h  l)     l=2n : (1-10) glide plane with c/2 translation (c,n)",  // 25
    "(  h  k  k)     h=2n : (01-1) glide plane with a/2 translation (a,n)",  // 26
    "(  h  k  h)     k=2n : (-101) glide plane with b/2 translation (b,n)",  // 27
    "(  h  h  l)     l=2n : (1-10) glide plane with c/2 translation (c,n)",  // 28
    "(  h  h  l)  2h+l=4n : (1-10) glide plane with a/4 +- b/4 +- c/4 translation (d)",  // 29
    "(  h -h  l)     l=2n : (110)  glide plane with c/2 translation (c,n)",  // 30
    "(  h -h  l)  2h+l=4n : (110)  glide plane with a/4 +- b/4 +- c/4 translation (d)",  // 31
    "(  h  k  k)     h=2n : (01-1) glide plane with a/2 translation (a,n)",  // 32
    "(  h  k  k)  2k+h=4n : (01-1) glide plane with +-a/4 + b/4 +- c/4 translation(d)",  // 33
    "(  h  k -k)     h=2n : (011)  glide plane with a/2 translation (a,n)",  // 34
    "(  h  k -k)  2k+h=4n : (011)  glide plane with +-a/4 + b/4 +- c/4 translation(d)",  // 35
    "(  h  k  h)     k=2n : (-101) glide plane with b/2 translation (b,n)",  // 36
    "(  h  k  h)  2h+k=4n : (-101) glide plane with +-a/4 +- b/4 + c/4 translation(d)",  // 37
    "( -h  k  h)     k=2n : (101)  glide plane with b/2 translation (b,n)",  // 38
    "( -h  k  h)  2h+k=4n : (101)  glide plane with +-a/4 +- b/4 + c/4 translation(d)",  // 39
    "(h 0 0)      h=2n : screw axis // [100] with  a/2 translation (21)",  // 40
    "(h 0 0)      h=2n : screw axis // [100] with 2a/4 translation (42)",  // 41
    "(h 0 0)      h=4n : screw axis // [100] with  a/4 translation (41)",  // 42
    "(h 0 0)      h=4n : screw axis // [100] with 3a/4 translation (43)",  // 43
    "(0 k 0)      k=2n : screw axis // [010] with  b/2 translation (21)",  // 44
    "(0 k 0)      k=2n : screw axis // [010] with 2b/4 translation (42)",  // 45
    "(0 k 0)      k=4n : screw axis // [010] with  b/4 translation (41)",  // 46
    "(0 k 0)      k=4n : screw axis // [010] with 3b/4 translation (43)",  // 47
    "(0 0 l)      l=2n : screw axis // [00l] with  c/2 translation (21)",  // 48
    "(0 0 l)      l=2n : screw axis // [00l] with 2c/4 translation (42)",  // 49
    "(0 0 l)      l=4n : screw axis // [00l] with  c/4 translation (41)",  // 50
    "(0 0 l)      l=4n : screw axis // [00l] with 3c/4 translation (43)",  // 51
    "(0 0 0 l)    l=2n : screw axis // [00l] axis with 3c/6 translation (63)",  // 52
    "(0 0 0 l)    l=3n : screw axis // [00l] axis with  c/3 translation (31)",  // 53
    "(0 0 0 l)    l=3n : screw axis // [00l] axis with 2c/3 translation (32)",  // 54
    "(0 0 0 l)    l=3n : screw axis // [00l] axis with 2c/6 translation (62)",  // 55
    "(0 0 0 l)    l=3n : screw axis // [00l] axis with 4c/6 translation (64)",  // 56
    "(0 0 0 l)    l=6n : screw axis // [00l] axis with  c/6 translation (61)",  // 57
    "(0 0 0 l)    l=6n : screw axis // [00l] axis with 5c/6 translation (65)",  // 58
};

}  // namespace vorn_reflections_utilities::detail
