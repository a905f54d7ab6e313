// The catalogue as VexaEnumEffect lists it, the parameter enumerator, and the library marker.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "VexaEffect.h"

namespace {

struct Listed {
    std::vector<const EffectEntry *> entries;
    size_t stopAfter = SIZE_MAX;
};

uint8_t Collect(const EffectEntry *entry, void *user)
{
    auto *listed = static_cast<Listed *>(user);
    listed->entries.push_back(entry);
    return listed->entries.size() < listed->stopAfter;
}

std::vector<const EffectEntry *> ListCatalogue(size_t stopAfter = SIZE_MAX)
{
    Listed listed;
    listed.stopAfter = stopAfter;
    VexaEnumEffect(Collect, &listed);
    return listed.entries;
}

using Params = std::vector<std::pair<std::u16string, int32_t>>;

struct ParamsOf {
    int32_t id;
    Params params;
};

uint8_t CollectParam(const ParamInfo *param, void *user)
{
    auto *of = static_cast<ParamsOf *>(user);
    EXPECT_EQ(param->id, of->id);
    of->params.emplace_back(param->name, param->defaultValue);
    return 0; // ignored: the enumerator goes on regardless
}

Params ParamsVia(VexaParamEnumerator enumerator, int32_t id)
{
    ParamsOf of{id, {}};
    enumerator(id, CollectParam, &of);
    return of.params;
}

TEST(EffectCatalogue, ListsFifteenEntriesInTableOrder)
{
    const std::vector<std::pair<int32_t, std::u16string>> expected = {
        {0, u"Gray"},           {1, u"Invert"},           {2, u"Brightness"},
        {3, u"Contrast"},       {4, u"Gamma"},            {5, u"Sepia"},
        {6, u"Embossment"},     {7, u"Filp Horizontally"}, {8, u"Filp Vertically"},
        {9, u"3DGrid"},         {11, u"Posterization"},   {12, u"Solarization"},
        {13, u"Threshold"},     {14, u"Video"},           {16, u"Halftone"},
    };
    const auto entries = ListCatalogue();
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries[i]->id, expected[i].first);
        EXPECT_EQ(std::u16string(entries[i]->name), expected[i].second);
        EXPECT_EQ(entries[i]->reserved, 0);
    }
    // The entries live in the library: a second listing hands out the same addresses.
    EXPECT_EQ(ListCatalogue(), entries);
}

TEST(EffectCatalogue, StopsWhenTheCallbackSaysSo)
{
    const auto entries = ListCatalogue(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(std::u16string(entries[0]->name), u"Gray");
    VexaEnumEffect(nullptr, nullptr); // does nothing
}

TEST(EffectCatalogue, EntriesReportTheirParametersInOrder)
{
    const std::vector<std::pair<int32_t, Params>> expected = {
        {0, {}},
        {1, {}},
        {2, {{u"Brightness", 50}}},
        {3, {{u"Contrast", 50}}},
        {4, {{u"Gamma", 50}}},
        {5, {}},
        {6, {{u"Emboss", 5}}},
        {7, {}},
        {8, {}},
        {9, {{u"Size", 50}, {u"Depth", 20}}},
        {11, {{u"Level", 10}}},
        {12, {{u"Threshold", 10}}},
        {13, {{u"Level", 50}}},
        {14, {}},
        {16, {}},
    };
    const auto entries = ListCatalogue();
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(entries[i]->id);
        if (expected[i].second.empty()) {
            EXPECT_EQ(entries[i]->enumerator, nullptr);
            continue;
        }
        ASSERT_NE(entries[i]->enumerator, nullptr);
        EXPECT_EQ(ParamsVia(entries[i]->enumerator, entries[i]->id), expected[i].second);
    }
}

TEST(EffectCatalogue, EnumeratorKnowsTheUnlistedEffects)
{
    const VexaParamEnumerator enumerator = ListCatalogue()[2]->enumerator;
    EXPECT_EQ(ParamsVia(enumerator, 10), (Params{{u"Level", 50}}));
    EXPECT_EQ(ParamsVia(enumerator, 15), (Params{{u"Wavelength", 25}, {u"Amplitude", 30}}));
    EXPECT_TRUE(ParamsVia(enumerator, 17).empty());
    EXPECT_TRUE(ParamsVia(enumerator, 0).empty());
    enumerator(9, nullptr, nullptr); // a null callback does nothing
}

TEST(EffectLibrary, MarkerIsMadeOnFirstUseAndReleasedOnce)
{
    VexaEffectDestory();
    EXPECT_EQ(VexaEffectDestory(), 0);
    ListCatalogue(1);
    EXPECT_EQ(VexaEffectDestory(), 1);
    EXPECT_EQ(VexaEffectDestory(), 0);
    VexaDoEffect(nullptr, nullptr, nullptr);
    EXPECT_EQ(VexaEffectDestory(), 1);
}

} // namespace
