// Seitz and magnetic operator symbols: for every operator of the peer's 27
// groups the symbols read back to the operator's rotation (or its type, axis
// and sense) and translation; the worked texts are byte-exact.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>

#include "group_checks.hpp"
#include "tables/sym_table.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;
namespace tab = vorn_symmetry_tables;
using group_checks::fractions;

std::string written(std::size_t width, const std::function<void(std::string&)>& write) {
    return std::string(su::trim_right(group_checks::in_field(width, write)));
}

// Type, axis and sense that a label names ("-3x-yz-1", "2-xy", "m1", "6z").
std::array<int, 5> decoded(std::string s) {
    const bool improper = s[0] == 'm' || s[0] == '-';
    s = s[0] == 'm' ? "2" + s.substr(1) : s.substr(improper);
    const int order = s[0] - '0';
    const int sense = order < 3 ? 0 : s.size() > 2 && s.ends_with("-1") ? -1 : 1;
    if (sense == -1) s.resize(s.size() - 2);
    // Hexagonal twofold axes 1, 2, 3: [2,1,0], [1,2,0], [1,-1,0].
    if (s.size() == 2 && std::isdigit(static_cast<unsigned char>(s[1])))
        return {improper ? -order : order, 2 - (s[1] == '2') - (s[1] == '3'), 1 + (s[1] == '2') - 2 * (s[1] == '3'), 0, 0};
    std::array<int, 5> e = {improper ? -order : order, 0, 0, 0, sense};
    for (std::size_t k = 1; k < s.size(); ++k)
        if (s[k] != '-') e[static_cast<std::size_t>(s[k] - 'x') + 1] = s[k - 1] == '-' ? -1 : 1;
    return e;
}

}  // namespace

TEST(SeitzSymbols, EveryPeerOperatorReadsBack) {
    auto g = std::make_unique<SpaceGroup>();
    std::string hall;
    for (const auto& f : tables_test::read_tsv("seitz-symbols.tsv")) {
        SCOPED_TRACE(f[0] + " " + f[2] + " " + f[4]);
        if (f[2] != hall) set_spacegroup(hall = f[2], *g, std::nullopt, std::nullopt, "HAL");
        ASSERT_EQ(hexa, f[3] == "1");
        RotationMatrix rot{}, moment{}, back{};
        Vector3 tr{}, tr_back{};
        read_xsym(f[4], 1, rot, tr);
        const std::vector<float> t(tr.begin(), tr.end());
        const std::string bare = get_symsymbi(rot, {0, 0, 0});
        // The model row as the operator listing finds it (improper: -R), and the label row.
        std::int32_t model = 0, label = 0, half = hexa ? 12 : 24, shift = hexa ? 24 : 0;
        searchop(rot, shift + 1, shift + half, model);
        model = model > 0 ? model - shift : half - model - shift;
        for (std::int32_t k = 1; k <= 2 * half; ++k)
            if ((hexa ? tab::litvin_point_op_hex[k].trimmed() : tab::litvin_point_op[k].trimmed()) == bare) label = k;
        const std::string seitz = written(40, [&](std::string& s) { get_seitz(model, tr, s); });
        const std::size_t bar = seitz.find('|');
        EXPECT_EQ(su::trim_right(su::pack_string(seitz.substr(1, bar - 1))), bare);
        EXPECT_EQ(fractions(seitz.substr(bar + 1, seitz.size() - bar - 2), 4), t);
        const std::string symbol = written(40, [&](std::string& s) { get_seitz_symbol(label, -1, tr, s); });
        ASSERT_TRUE(symbol.ends_with(")'")) << symbol;
        const std::array<int, 5> e = decoded(symbol.substr(1, symbol.find('|') - 1));
        const std::vector<float> axis = fractions(f[6]);
        const int flip = (e[1] == -axis[0] && e[2] == -axis[1] && e[3] == -axis[2]) ? -1 : 1;
        EXPECT_EQ(e, (std::array<int, 5>{std::stoi(f[5]), flip * int(axis[0]), flip * int(axis[1]), flip * int(axis[2]),
                                        flip * std::stoi(f[7])})) << symbol;
        EXPECT_EQ(fractions(symbol.substr(symbol.find('|') + 1, symbol.size() - symbol.find('|') - 3)), t);
        // Magnetic forms with the moment matrix +-det(R).R; -1 marks time reversal.
        for (int reversal : {1, -1}) {
            for (int i = 0; i < 9; ++i) moment[i / 3][i % 3] = reversal * (e[0] < 0 ? -1 : 1) * rot[i / 3][i % 3];
            std::string compact = written(80, [&](std::string& s) { get_shubnikov_operator_symbol(rot, moment, tr, s); });
            const std::size_t semi = compact.find(';');
            read_xsym(compact.substr(1, semi - 1), 1, back, tr_back);
            EXPECT_TRUE(back == rot && std::vector<float>(tr_back.begin(), tr_back.end()) == t) << compact;
            for (char& c : compact) c = c == 'u' ? 'x' : c == 'v' ? 'y' : c == 'w' ? 'z' : c;
            read_xsym(compact.substr(semi + 1, compact.size() - semi - 2), 1, back, false);
            EXPECT_EQ(back, moment) << compact;
            const std::string full = written(80, [&](std::string& s) { get_shubnikov_operator_symbol(rot, moment, tr, s, true); });
            std::string letters = full.substr(full.find(' ') + 1, full.rfind(' ') - full.find(' ') - 1);
            std::erase(letters, 'm');
            read_xsym(letters, 1, back, false);
            EXPECT_TRUE(back == moment && full.starts_with(compact.substr(1, semi - 1) + " ")) << full;
            EXPECT_EQ(full.substr(full.size() - 3), reversal == 1 ? " +1" : " -1");
        }
    }
}

// Rows: 'S' get_seitz(a, t), 'Y' get_seitz_symbol(a, b, t), 'M' the compact and 'F' the full magnetic symbol of
// rotation mats[a] with moment matrix mats[b]; hexagonal axes or not, the field width, the text.  Beyond the
// fixture: whole and negative translations, fractions outside the table or tolerance, rows outside the family,
// the prime only for -1, moments that are not +-det(R).R, and the cuts.
TEST(SeitzSymbols, WorkedTextsAndDecisions) {
    const RotationMatrix mats[] = {{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}},
        {{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}}, {}, {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, -1}}},
        {{{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {{{-1, 1, 0}, {-1, 0, 0}, {0, 0, -1}}}, {{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}}};
    // 1, 2z, 3z, 0, -1, -2z, 1 without row x, hexagonal -3 and its axial moment matrix
    const float e = 11.0f / 12.0f, h = 0.5f;
    const struct { char kind; bool hexagonal; std::size_t width; int a, b; Vector3 t; const char* want; } cases[] = {
        {'S', 0, 27, 1, 0, {-0.25f, h, 1}, "{ x, y, z|-1/4 1/2 1  }"}, {'S', 1, 27, 3, 0, {0, 0, 2.0f / 3}, "{-x+y,-x  , z|  0   0  2/3}"},
        {'S', 0, 27, 1, 0, {0, 0.1f, h}, "{ x, y, z|  0  1/2}"}, {'S', 0, 27, 1, 0, {0.2f, 1.5f, 4.5f}, "{ x, y, z|}"},
        {'S', 0, 27, 1, 0, {0.5001f, 0.5003f, 4}, "{ x, y, z| 1/2 4  }"},
        {'S', 0, 27, 1, 0, {-0.0001f, -1.0f / 3, -4}, "{ x, y, z|- 0 -1/3-4  }"}, {'S', 1, 8, 25, 0, {}, ""}, {'S', 0, 8, 49, 0, {}, ""},
        {'Y', 1, 8, 25, -1, {}, ""}, {'Y', 0, 20, 10, 1, {0, 0, h}, "(2z|0,0,1/2)"}, {'Y', 0, 20, 10, -1, {0, 0, h}, "(2z|0,0,1/2)'"},
        {'M', 0, 40, 3, 3, {}, "(0,0,0;0,0,0)"}, {'Y', 0, 30, 36, -2, {h, h, 0}, "(m-xy|1/2,1/2,0)"},
        {'Y', 0, 30, 25, 1, {0.123f, 0.1f, 1.5f}, "(-1|***/**,1/10,3/2)"},
        // Cut before packing: "(2z |  0, 0, 1/2)" at 9 is "(2z |  0,"; the prime needs room.
        {'Y', 0, 9, 10, -1, {0, 0, h}, "(2z|0,'"}, {'M', 0, 10, 1, 1, {0, 0, h}, "(-x,-y,z+1"},
        {'M', 0, 40, 1, 5, {0, 0, h}, "(-x,-y,z+1/2;u,v,-w)"}, {'F', 0, 40, 1, 5, {0, 0, h}, "-x,-y,z+1/2 mx,my,-mz -1"},
        {'M', 0, 40, 0, 6, {}, "(x,y,z;0,v,w)"}, {'F', 0, 40, 0, 6, {}, "x,y,z 0,my,mz -1"},
        {'F', 0, 60, 7, 8, {e, e, e}, "-x+y+11/12,-x+11/12,-z+11/12 mx-my,mx,mz +1"},
    };
    const bool saved = hexa;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.want);
        hexa = c.hexagonal;
        EXPECT_EQ(group_checks::in_field(c.width, [&](std::string& text) {
            if (c.kind == 'S') get_seitz(c.a, c.t, text);
            if (c.kind == 'Y') get_seitz_symbol(c.a, c.b, c.t, text);
            if (c.kind == 'M' || c.kind == 'F') get_shubnikov_operator_symbol(mats[c.a], mats[c.b], c.t, text, c.kind == 'F');
        }), su::fixed(c.want, c.width));
    }
    FixedText<30> field = "#";
    get_seitz(2, {0, 0, h}, field);
    EXPECT_EQ(field, "{-x,-y, z|  0   0  1/2}");
    hexa = saved;
}
