// The sections of a document as the host loads them: the recordset member of the document
// object, the table behind it and the column prefix of its keys.
//
// Every section row carries the document's keys `<prefix>_DITTA_CG18` and
// `<prefix>_NUMREG_CO99`; line sections also carry the line number.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "host/variant.h"

namespace zq::sim {

struct Section {
    std::string_view member;  // rstDocCorpoOrd
    std::string_view table;   // DO31_DOCCORPOORD
    std::string_view prefix;  // DO31
};

inline constexpr Section kTestata{"rstDocTestata", "DO11_DOCTESTATA", "DO11"};
inline constexpr Section kTestaOrd{"rstDocTestaOrd", "DO18_DOCTESORD", "DO18"};
inline constexpr Section kTestaVert{"rstDocTestaVert", "DO76_DOCTESTAVERT", "DO76"};
inline constexpr Section kCorpo{"rstDocCorpo", "DO30_DOCCORPO", "DO30"};
inline constexpr Section kCorpoOrd{"rstDocCorpoOrd", "DO31_DOCCORPOORD", "DO31"};
inline constexpr Section kCorpoVert{"rstDocCorpoVert", "DO77_DOCCORPOVERT", "DO77"};

// The further per-line sections, in the order the host writes them back.
inline constexpr std::array<Section, 14> kSottoSezioni{{
    {"rstDocCorpoProge", "DO41_DOCCORPOPROGE", "DO41"},
    {"rstDocCorpoPers", "DO35_DOCCORPOPERS", "DO35"},
    {"rstDocCorOrdDet", "DO46_DOCCORORDDET", "DO46"},
    {"rstDocCorpoConf", "DO39_DOCCORPOCONF", "DO39"},
    {"rstDocCorpoEst", "DO36_DOCCORPOEST", "DO36"},
    {"rstDocCorpoGrid", "DO56_DOCCORPOGRID", "DO56"},
    {"rstDocCorpoLot", "DO52_DOCCORPOLOT", "DO52"},
    {"rstDocCorpoProv", "DO32_DOCCORPOPROV", "DO32"},
    {"rstDocCorpoRaggr", "DO57_DOCCORPORAGGR", "DO57"},
    {"rstDocCorpoRif", "DO33_DOCCORPORIF", "DO33"},
    {"rstDocCorpoScMag", "DO69_DOCCORPOSCMAG", "DO69"},
    {"rstDocCorpoUbic", "DO38_DOCCORPOUBIC", "DO38"},
    {"rstDocCorpoCoin", "DO53_DOCCORPOCOIN", "DO53"},
    {"rstDocCorpoRatei", "DO42_DOCCORPORATEI", "DO42"},
}};

// "DO31_DITTA_CG18 = 1 AND DO31_NUMREG_CO99 = '2026/17'": the company bare, the
// registration number quoted with any quote inside doubled.
std::string DocumentWhere(const Section& s, const Variant& ditta, std::string_view numreg);

}  // namespace zq::sim
