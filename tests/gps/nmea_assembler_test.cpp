// Bytes into sentences, the sentences the receiver keeps, the queue, the
// checksum and the fields with their numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gps/nmea.hpp"
#include "gps/nmea_fields.hpp"
#include "support/nmea_sentence.hpp"

namespace {

using gpstest::nmea;

std::vector<std::string> feed(gps::SentenceAssembler& a, const std::string& bytes) {
  std::vector<std::string> out;
  for (unsigned char c : bytes)
    if (a.feed(c)) out.push_back(a.sentence());
  return out;
}

TEST(SentenceAssembler, DollarStartsCarriageReturnEndsControlBytesAreDropped) {
  gps::SentenceAssembler a;
  // Noise before the first '$' and a partial sentence cut by the next '$'.
  EXPECT_EQ(feed(a, "junk\r*12\n$GPGGA,1$GPVTG,2\n\r\n$A\x01\tB\x7F\r"),
            (std::vector<std::string>{"$GPVTG,2", "$AB\x7F"}));
  // A carriage return outside a sentence gives nothing.
  EXPECT_TRUE(feed(a, "\r\r").empty());
  // Bytes above 0x7F ride along.
  EXPECT_EQ(feed(a, "$\xB0\r"), (std::vector<std::string>{"$\xB0"}));
}

TEST(SentenceAssembler, SentencePastTheLimitIsDroppedWholeAndTheNextIsRead) {
  gps::SentenceAssembler a;
  const std::string atLimit = "$" + std::string(gps::kSentenceLimit - 1, 'x');
  EXPECT_EQ(feed(a, atLimit + "\r"), std::vector<std::string>{atLimit});
  EXPECT_TRUE(feed(a, atLimit + "y\r").empty());  // 1022 bytes
  // The tail of a long one never comes out on its own.
  EXPECT_EQ(feed(a, "$" + std::string(10000, 'z') + "\r$GPZDA,next\r"), std::vector<std::string>{"$GPZDA,next"});
  // A '$' inside an overlong sentence starts a fresh one.
  EXPECT_EQ(feed(a, "$" + std::string(2000, 'q') + "$ok\r"), std::vector<std::string>{"$ok"});
  a.reset();
  EXPECT_TRUE(feed(a, "partial\r").empty());
}

TEST(KeptSentence, TalkersGlGnGpAndTheFiveTypesOnly) {
  for (const char* kept : {"$GPGGA,", "$GLVTG,x", "$GNGSA,", "$GPZDA,", "$GNRMC,1,2"})
    EXPECT_TRUE(gps::keptSentence(kept)) << kept;
  for (const char* dropped : {"$GPGSV,1", "$BDGGA,1", "$GAGGA,1", "$GPGGA", "$GPGGAX", "GPGGA,1,", "$gpgga,", "",
                              "$GPTXT,"})
    EXPECT_FALSE(gps::keptSentence(dropped)) << dropped;
}

TEST(SentenceQueue, KeepsFiveInOrderDropsTheSixthAndCutsSlotsTo196Bytes) {
  gps::SentenceQueue q;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(q.put("$S" + std::to_string(i)));
  EXPECT_FALSE(q.put("$S5"));
  EXPECT_EQ(q.size(), 5u);
  std::string s;
  ASSERT_TRUE(q.take(s));
  EXPECT_EQ(s, "$S0");
  EXPECT_TRUE(q.put("$S6"));  // a freed slot takes the next one
  for (const char* expected : {"$S1", "$S2", "$S3", "$S4", "$S6"}) {
    ASSERT_TRUE(q.take(s));
    EXPECT_EQ(s, expected);
  }
  EXPECT_FALSE(q.take(s));
  EXPECT_TRUE(q.put(std::string(300, 'L')));
  ASSERT_TRUE(q.take(s));
  EXPECT_EQ(s.size(), gps::kSlotText);
  EXPECT_FALSE(q.put(""));
  EXPECT_TRUE(q.put("$A"));
  q.clear();
  EXPECT_EQ(q.size(), 0u);
  EXPECT_FALSE(q.take(s));
}

TEST(Checksum, XorBetweenDollarAndStarMustMatchTheHexAfterIt) {
  const std::string good = nmea("GPGGA,123519,4807.038,N");
  EXPECT_TRUE(gps::checksumValid(good));
  // One bit off in the text, and in the sum.
  std::string flipped = good;
  flipped[8] ^= 0x01;
  EXPECT_FALSE(gps::checksumValid(flipped));
  std::string sumOff = good;
  sumOff.back() = sumOff.back() == '0' ? '1' : '0';
  EXPECT_FALSE(gps::checksumValid(sumOff));
  EXPECT_FALSE(gps::checksumValid(good.substr(0, good.find('*'))));  // no '*'
  EXPECT_FALSE(gps::checksumValid(good.substr(1)));                   // no '$'
  EXPECT_FALSE(gps::checksumValid(good + "0"));                      // three digits
  EXPECT_FALSE(gps::checksumValid(good.substr(0, good.size() - 2) + "G1"));
  EXPECT_TRUE(gps::checksumValid("$A*41"));
  EXPECT_TRUE(gps::checksumValid("$J*4a"));  // lower-case hex
  EXPECT_TRUE(gps::checksumValid("$*0"));
  EXPECT_FALSE(gps::checksumValid("$A*"));
}

TEST(SentenceFields, SplitAtCommasUpToTheStarAndAtMostAHundred) {
  const gps::SentenceFields f = gps::splitFields("$GPVTG,054.7,T,,M*48");
  ASSERT_EQ(f.count, 5u);  // the checksum is no field
  EXPECT_EQ(f[0], "GPVTG");
  EXPECT_EQ(f[1], "054.7");
  EXPECT_EQ(f[3], "");
  EXPECT_EQ(f[4], "M");
  EXPECT_EQ(f[5], "");  // past the end
  std::string many = "$X";
  for (int i = 1; i < 150; ++i) many += "," + std::to_string(i);
  many += "*00";
  const gps::SentenceFields m = gps::splitFields(many);
  EXPECT_EQ(m.count, gps::kMaxFields);
  EXPECT_EQ(m[99], "99");
  EXPECT_EQ(m[100], "");
}

TEST(FieldNumber, OnlyPlainDecimalsCountAndNothingPastTheFieldIsRead) {
  EXPECT_DOUBLE_EQ(gps::fieldNumber("4807.038"), 4807.038);
  EXPECT_DOUBLE_EQ(gps::fieldNumber("-12.40"), -12.4);
  EXPECT_DOUBLE_EQ(gps::fieldNumber("+7"), 7.0);
  EXPECT_DOUBLE_EQ(gps::fieldNumber(" 8 "), 8.0);
  EXPECT_DOUBLE_EQ(gps::fieldNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(gps::fieldNumber("000123519.00"), 123519.0);
  EXPECT_DOUBLE_EQ(gps::fieldNumber("0.000000000000000000000000123"), 1.23e-25);
  EXPECT_DOUBLE_EQ(gps::fieldNumber("1234567890123456789012"), 1234567890123456789012.0);
  for (const char* junk : {"", "-", ".", "nan", "NaN", "inf", "-inf", "1e5", "12abc", "0x1A", "1.2.3", "1 2", "--1"})
    EXPECT_EQ(gps::fieldNumber(junk), 0.0) << junk;
  // A view that ends inside a longer buffer: the digits after it are not read.
  const std::string buffer = "12,345";
  EXPECT_DOUBLE_EQ(gps::fieldNumber(std::string_view(buffer.data(), 2)), 12.0);
  // Four hundred nines are still a finite number.
  EXPECT_TRUE(std::isfinite(gps::fieldNumber(std::string(400, '9'))));
}

}  // namespace
