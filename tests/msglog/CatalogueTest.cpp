#include "msglog/Catalogue.h"

#include <gtest/gtest.h>

#include "MsglogFakes.h"

namespace seaherald {
namespace {

using testing::Sjis;

// Both tables of the catalogue against the texts as written, all four columns (UTF-8 here,
// compared as Shift-JIS).
struct WrittenRow {
  const char* letterEnglish;
  const char* letterJapanese;
  const char* nameEnglish;
  const char* nameJapanese;
};
constexpr WrittenRow kWrittenStations[kBaseCount] = {
    {"G", "Ｇ", "Naha", "那覇"},  {"H", "Ｈ", "Moji", "門司"},    {"I", "Ｉ", "Yokohama", "横浜"},
    {"J", "Ｊ", "Otaru", "小樽"}, {"K", "Ｋ", "Kushiro", "釧路"}, {"X", "Ｘ", "Another", "その他"},
};
constexpr WrittenRow kWrittenTypes[kTypeCount] = {
    {"A", "Ａ", "Navigational warnings", "航行警報"},
    {"B", "Ｂ", "Meteorological warnings", "気象警報"},
    {"C", "Ｃ", "Ice reports", "海氷情報"},
    {"D", "Ｄ", "Search & rescue information, and pirate warnings", "捜索救難情報／海賊警報"},
    {"E", "Ｅ", "Meteorological forecasts", "気象予報"},
    {"F", "Ｆ", "Pilot service messages", "水先案内人情報"},
    {"G", "Ｇ", "AIS messages", "ＡＩＳ情報"},
    {"H", "Ｈ", "LORAN messages", "ロラン情報"},
    {"J", "Ｊ", "SATNAV messages", "衛星ナビ情報"},
    {"K", "Ｋ", "Other electronic navaid messages", "その他の情報"},
    {"L", "Ｌ", "Navigational warnings (additional)", "航行警報（追加事項）"},
    {"X", "Ｘ", "Special services 1", "特別情報１"},
    {"Y", "Ｙ", "Special services 2", "特別情報２"},
    {" ", "　", "Other", "その他"},
};

TEST(Catalogue, EveryStationAndTypeAsWritten) {
  EXPECT_EQ(Catalogue::LangName(0), Sjis("英文"));
  EXPECT_EQ(Catalogue::LangName(1), Sjis("和文"));
  for (int base = 0; base < kBaseCount; ++base) {
    SCOPED_TRACE(base);
    const WrittenRow& row = kWrittenStations[base];
    EXPECT_EQ(Catalogue::BaseLetter(0, base), Sjis(row.letterEnglish));
    EXPECT_EQ(Catalogue::BaseLetter(1, base), Sjis(row.letterJapanese));
    EXPECT_EQ(Catalogue::BaseName(0, base), Sjis(row.nameEnglish));
    EXPECT_EQ(Catalogue::BaseName(1, base), Sjis(row.nameJapanese));
  }
  for (int type = 0; type < kTypeCount; ++type) {
    SCOPED_TRACE(type);
    const WrittenRow& row = kWrittenTypes[type];
    EXPECT_EQ(Catalogue::TypeLetter(0, type), Sjis(row.letterEnglish));
    EXPECT_EQ(Catalogue::TypeLetter(1, type), Sjis(row.letterJapanese));
    EXPECT_EQ(Catalogue::TypeName(0, type), Sjis(row.nameEnglish));
    EXPECT_EQ(Catalogue::TypeName(1, type), Sjis(row.nameJapanese));
  }
}

TEST(Catalogue, TablesHoldExactShiftJisBytes) {
  EXPECT_EQ(Catalogue::BaseLetter(1, 0), std::string("\x82\x66"));  // Ｇ
  EXPECT_EQ(Catalogue::BaseLetter(0, 0), "G");
  EXPECT_EQ(Catalogue::TypeLetter(0, 13), " ");
  EXPECT_EQ(Catalogue::TypeLetter(1, 13), std::string("\x81\x40"));       // full-width space
  EXPECT_EQ(Catalogue::BaseName(1, 0), std::string("\x93\xdf\x94\x65"));  // 那覇
  EXPECT_EQ(Catalogue::LangName(0), Sjis("英文"));
  EXPECT_EQ(Catalogue::LangName(1), Sjis("和文"));
  EXPECT_EQ(Catalogue::BaseName(1, 5), Sjis("その他"));
  EXPECT_EQ(Catalogue::TypeName(1, 3), Sjis("捜索救難情報／海賊警報"));
  EXPECT_EQ(Catalogue::TypeName(1, 10), Sjis("航行警報（追加事項）"));
}

TEST(Catalogue, NamesAreSpelledAsBroadcastUsersKnowThem) {
  EXPECT_EQ(Catalogue::TypeName(0, 13), "Other");
  EXPECT_NE(Catalogue::TypeName(0, 11), Catalogue::TypeName(0, 12)) << "X and Y told apart";
  EXPECT_NE(Catalogue::TypeName(1, 11), Catalogue::TypeName(1, 12));
  EXPECT_EQ(Catalogue::BaseName(0, 5), "Another");
  EXPECT_EQ(Catalogue::TypeName(0, 3), "Search & rescue information, and pirate warnings");
}

TEST(Catalogue, BaseOfLetterFallsBackToStationFive) {
  const char* letters = "GHIJK";
  for (int base = 0; base < 5; ++base) {
    EXPECT_EQ(Catalogue::BaseOfLetter(0, std::string(1, letters[base])), base);
    EXPECT_EQ(Catalogue::BaseOfLetter(1, Catalogue::BaseLetter(1, base)), base);
  }
  EXPECT_EQ(Catalogue::BaseOfLetter(0, "X"), 5);
  EXPECT_EQ(Catalogue::BaseOfLetter(0, "Q"), 5);
  EXPECT_EQ(Catalogue::BaseOfLetter(0, "g"), 5);  // case matters
  EXPECT_EQ(Catalogue::BaseOfLetter(1, Sjis("Ｘ")), 5);
  EXPECT_EQ(Catalogue::BaseOfLetter(0, ""), 5);
}

TEST(Catalogue, SingleByteAndFullWidthLettersNeverMatch) {
  EXPECT_EQ(Catalogue::BaseOfLetter(1, "G"), 5);
  EXPECT_EQ(Catalogue::BaseOfLetter(0, Sjis("Ｇ")), 5);
  EXPECT_EQ(Catalogue::TypeOfLetter(1, "A"), 13);
  EXPECT_EQ(Catalogue::TypeOfLetter(0, Sjis("Ａ")), 13);
}

TEST(Catalogue, TypeOfLetterGivesThirteenForLettersOutsideTheTable) {
  EXPECT_EQ(Catalogue::TypeOfLetter(0, "A"), 0);
  EXPECT_EQ(Catalogue::TypeOfLetter(0, "H"), 7);
  EXPECT_EQ(Catalogue::TypeOfLetter(0, "J"), 8);
  EXPECT_EQ(Catalogue::TypeOfLetter(0, "Y"), 12);
  EXPECT_EQ(Catalogue::TypeOfLetter(1, Sjis("Ｌ")), 10);
  for (const char letter : std::string("IMNOPQRSTUVWZ ")) {
    EXPECT_EQ(Catalogue::TypeOfLetter(0, std::string(1, letter)), 13) << letter;
  }
  EXPECT_EQ(Catalogue::TypeOfLetter(1, Sjis("Ｉ")), 13);
  EXPECT_EQ(Catalogue::TypeOfLetter(1, Sjis("　")), 13);
}

TEST(Catalogue, LanguageOfAFileNameFollowsTheTopBitOfItsFirstByte) {
  EXPECT_EQ(Catalogue::LangOfFileName("GA12.txt"), 0);
  EXPECT_EQ(Catalogue::LangOfFileName(Sjis("ＧＡ１２３.txt")), 1);
  EXPECT_EQ(Catalogue::LangOfFileName("\x80"), 1);
  EXPECT_EQ(Catalogue::LangOfFileName("\x7f"), 0);
  EXPECT_EQ(Catalogue::LangOfFileName(""), 0);
}

TEST(Catalogue, LettersComeFromFixedBytePositions) {
  EXPECT_EQ(Catalogue::LetterB1(0, "GA12.txt"), "G");
  EXPECT_EQ(Catalogue::LetterB2(0, "GA12.txt"), "A");
  const std::string japanese = Sjis("ＧＡ１２３.txt");
  EXPECT_EQ(Catalogue::LetterB1(1, japanese), Sjis("Ｇ"));
  EXPECT_EQ(Catalogue::LetterB2(1, japanese), Sjis("Ａ"));
  EXPECT_EQ(Catalogue::LetterB2(0, "G"), "");
  EXPECT_EQ(Catalogue::LetterB2(1, "\x82\x66\x82"), "\x82");
}

TEST(Catalogue, SelectionUsesExactLettersWithCatchAllStationAndType) {
  EXPECT_TRUE(Catalogue::BelongsTo("GA12.txt", 0, 0, 0));
  EXPECT_FALSE(Catalogue::BelongsTo("GA12.txt", 1, 0, 0));
  EXPECT_FALSE(Catalogue::BelongsTo(Sjis("ＧＡ１２３.txt"), 0, 0, 0));
  EXPECT_TRUE(Catalogue::BelongsTo(Sjis("ＧＡ１２３.txt"), 1, 0, 0));
  EXPECT_TRUE(Catalogue::BelongsTo("XA01.txt", 0, 5, 0));
  EXPECT_TRUE(Catalogue::BelongsTo("QA01.txt", 0, 5, 0));
  EXPECT_FALSE(Catalogue::BelongsTo("GA01.txt", 0, 5, 0));
  EXPECT_TRUE(Catalogue::BelongsTo("GI01.txt", 0, 0, 13));
  EXPECT_TRUE(Catalogue::BelongsTo("G 01.txt", 0, 0, 13));
  EXPECT_FALSE(Catalogue::BelongsTo("GA01.txt", 0, 0, 13));
  EXPECT_TRUE(Catalogue::BelongsTo("notes.txt", 0, 5, 13));
}

TEST(Catalogue, TreeNodeIndexesMatchDepthFirstOrder) {
  int index = 0;
  for (int lang = 0; lang < kLangCount; ++lang) {
    EXPECT_EQ(Catalogue::LangNodeIndex(lang), index);
    EXPECT_EQ(Catalogue::TreeNodeAt(index++), (TreeNodePosition{lang, -1, -1}));
    for (int base = 0; base < kBaseCount; ++base) {
      EXPECT_EQ(Catalogue::BaseNodeIndex(lang, base), index);
      EXPECT_EQ(Catalogue::TreeNodeAt(index++), (TreeNodePosition{lang, base, -1}));
      for (int type = 0; type < kTypeCount; ++type) {
        EXPECT_EQ(Catalogue::TypeNodeIndex(lang, base, type), index);
        EXPECT_EQ(Catalogue::TreeNodeAt(index++), (TreeNodePosition{lang, base, type}));
      }
    }
  }
  EXPECT_EQ(index, kTreeNodeCount);
  EXPECT_EQ(Catalogue::TypeNodeIndex(1, 5, 13), 181);
  EXPECT_EQ(Catalogue::TypeNodeIndex(0, 0, 0), 2);
  EXPECT_FALSE(Catalogue::TreeNodeAt(-1));
  EXPECT_FALSE(Catalogue::TreeNodeAt(182));
}

}  // namespace
}  // namespace seaherald
