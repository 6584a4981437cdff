#include "app/content_encryption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrsmith::app {
namespace {

Bytes FromHex(std::string_view hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

// RFC 6229, section 2: keystream bytes (RC4 of zeros) at a few offsets.
struct KeystreamVector {
  const char* key;
  std::size_t offset;
  const char* keystream;  // 16 bytes from `offset`
};

const KeystreamVector kRfc6229[] = {
    {"0102030405", 0, "b2396305f03dc027ccc3524a0a1118a8"},
    {"0102030405", 16, "6982944f18fc82d589c403a47a0d0919"},
    {"0102030405", 240, "28cb1132c96ce286421dcaadb8b69eae"},
    {"0102030405", 4096, "ff25b58995996707e51fbdf08b34d875"},
    {"01020304050607", 0, "293f02d47f37c9b633f2af5285feb46b"},
    {"01020304050607", 16, "e620f1390d19bd84e2e0fd752031afc1"},
    {"0102030405060708", 0, "97ab8a1bf0afb96132f2f67258da15a8"},
    {"0102030405060708", 16, "8263efdb45c4a18684ef87e6b19e5b09"},
    {"0102030405060708090a", 0, "ede3b04643e586cc907dc21851709902"},
    {"0102030405060708090a", 16, "03516ba78f413beb223aa5d4d2df6711"},
    {"0102030405060708090a0b0c0d0e0f10", 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
    {"0102030405060708090a0b0c0d0e0f10", 16, "5248c4959014126a6e8a84f11d1a9e1c"},
    {"0102030405060708090a0b0c0d0e0f10", 256, "d39d566bc6bce3010768151549f3873f"},
    {"0102030405060708090a0b0c0d0e0f101112131415161718", 0, "0595e57fe5f0bb3c706edac8a4b2db11"},
    {"0102030405060708090a0b0c0d0e0f101112131415161718", 16, "dfde31344a1af769c74f070aee9e2326"},
    {"0102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20", 0,
     "eaa6bd25880bf93d3f5d1e4ca2611d91"},
    {"0102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20", 16,
     "cfa45c9f7e714b54bdfa80027cb14380"},
    {"0102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20", 4080,
     "a13a7c79c7e119b5ab0296ab28c300b9"},
    {"833222772a", 0, "80ad97bdc973df8a2e879e92a497efda"},
    {"833222772a", 16, "20f060c2f2e5126501d3d4fea10d5fc0"},
};

TEST(Rc4, MatchesTheRfc6229Keystreams) {
  for (const KeystreamVector& v : kRfc6229) {
    const Bytes zeros(v.offset + 16, 0);
    const Bytes stream = Rc4Apply(Rc4KeySchedule(FromHex(v.key)), zeros);
    const Bytes window(stream.begin() + static_cast<std::ptrdiff_t>(v.offset), stream.end());
    EXPECT_EQ(window, FromHex(v.keystream)) << "key " << v.key << " offset " << v.offset;
  }
}

TEST(Rc4, ReadsAtMost256KeyBytesAndNeedsNoneForAnEmptyKey) {
  Bytes key(300);
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(i * 7 + 1);
  Bytes longer = key;
  longer[256] ^= 0xFF;
  longer[299] ^= 0xFF;
  EXPECT_EQ(Rc4KeySchedule(key), Rc4KeySchedule(longer));
  Bytes differentInside = key;
  differentInside[255] ^= 0xFF;
  EXPECT_NE(Rc4KeySchedule(key), Rc4KeySchedule(differentInside));

  const Rc4Permutation identity = Rc4KeySchedule({});
  for (std::size_t n = 0; n < identity.size(); ++n) EXPECT_EQ(identity[n], n);
}

TEST(HexText, WritesTwoUpperCaseDigitsPerByteHighHalfFirst) {
  EXPECT_EQ(HexText({}), "");
  EXPECT_EQ(HexText(Bytes{0x00, 0x0F, 0xF0, 0xAB, 0x5C, 0xFF}), "000FF0AB5CFF");
}

TEST(EncryptContent, MarksTheHexCiphertextOfTheCodePageBytes) {
  struct Case {
    const char* what;
    std::string content;
    std::string password;
    std::string expected;
  };
  const Case cases[] = {
      // The classic RC4 example: key "Key", plaintext "Plaintext".
      {"ascii", "Plaintext", "Key", "&&&BBF316E8D940AF0AD3"},
      {"empty content", "", "Key", ""},
      {"empty password leaves the content", "\xE4\xB8\xAD & x", "", "\xE4\xB8\xAD & x"},
      {"empty both", "", "", ""},
  };
  for (const Case& c : cases) {
    const EncryptionResult r = EncryptContent(c.content, c.password, "GBK");
    EXPECT_EQ(r.failure, EncryptionFailure::kNone) << c.what;
    EXPECT_EQ(r.text, c.expected) << c.what;
  }
}

TEST(EncryptContent, WorksOnGbkBytesNotUtf8) {
  // 中 is D6 D0 in GBK (two bytes, four digits) and three bytes in UTF-8.
  const std::string content =
      "\xE4\xB8\xAD"
      "a,&";
  const Bytes gbkContent{0xD6, 0xD0, 'a', ',', '&'};
  // 中文key: D6 D0 CE C4 6B 65 79 in GBK. Expected text from an independent
  // RC4 (OpenSSL's) over the GBK bytes.
  const EncryptionResult r = EncryptContent(content, "\xE4\xB8\xAD\xE6\x96\x87key", "GBK");
  EXPECT_EQ(r.text, "&&&5B9012F134");

  // A one-character password is a valid key: 文 gives the two-byte key CE C4.
  const EncryptionResult one = EncryptContent(content, "\xE6\x96\x87", "GBK");
  ASSERT_TRUE(one.text.has_value());
  const Bytes gbkKey{0xCE, 0xC4};
  EXPECT_EQ(one.text, "&&&" + HexText(Rc4Apply(Rc4KeySchedule(gbkKey), gbkContent)));
  EXPECT_EQ(one.text->size(), 3 + 2 * gbkContent.size());
}

TEST(EncryptContent, DecryptsBackToTheContentsCodePageBytes) {
  const std::string content = "WIFI:S:\xE5\xAE\xB6;T:WPA;P:p&&w,d;;";  // 家 in the name
  const std::string password = "s3cr\xE5\xAF\x86";                     // 密 in the key
  const EncryptionResult r = EncryptContent(content, password, "GBK");
  ASSERT_TRUE(r.text.has_value());
  ASSERT_TRUE(r.text->starts_with(kEncryptedMarker));
  const std::string hex = r.text->substr(kEncryptedMarker.size());
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  const auto key = platform::Utf8ToCodePage(password, "GBK");
  const Bytes decrypted = Rc4Apply(Rc4KeySchedule(*key), FromHex(hex));
  EXPECT_EQ(decrypted, platform::Utf8ToCodePage(content, "GBK"));
  EXPECT_EQ(platform::CodePageToUtf8(decrypted, "GBK"), content);

  // Deterministic, and another password of the same length gives another text.
  EXPECT_EQ(EncryptContent(content, password, "GBK").text, r.text);
  EXPECT_NE(EncryptContent(content, "s3crX", "GBK").text, r.text);
}

TEST(EncryptContent, RefusesCharactersTheCodePageCannotHold) {
  const std::string hangul = "\xED\x95\x9C";  // 한: no GBK form
  const std::string emoji = "\xF0\x9F\x98\x80";
  struct Case {
    std::string content;
    std::string password;
    EncryptionFailure expected;
  };
  const Case cases[] = {
      {"ok " + hangul, "key", EncryptionFailure::kContentNotRepresentable},
      {"ok", "key" + emoji, EncryptionFailure::kPasswordNotRepresentable},
      {"\xC3", "key", EncryptionFailure::kContentNotRepresentable},  // not UTF-8
      {hangul, hangul, EncryptionFailure::kContentNotRepresentable},
  };
  for (const Case& c : cases) {
    const EncryptionResult r = EncryptContent(c.content, c.password, "GBK");
    EXPECT_EQ(r.failure, c.expected) << c.content << " / " << c.password;
    EXPECT_FALSE(r.text.has_value());
  }
  // Without a password nothing is converted, so nothing can fail.
  EXPECT_EQ(EncryptContent(hangul, "", "GBK").text, hangul);
}

}  // namespace
}  // namespace qrsmith::app
