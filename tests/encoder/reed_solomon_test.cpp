#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "encoder/reed_solomon_encoder.h"

namespace qrsmith {
namespace {

GaloisField QrField() {
  GaloisField field;
  field.Initialise(256, 0x11D, 2);
  return field;
}

// ISO/IEC 18004 Annex A: the generator polynomial for 10 parity codewords,
// as exponents of 2, highest degree first.
TEST(ReedSolomon, GeneratorForTenParityCodewordsMatchesAnnexA) {
  const GaloisField field = QrField();
  ReedSolomonEncoder rs;
  ASSERT_TRUE(rs.Initialise(16, 10, field, true, 0, 0));
  const int exponents[] = {0, 251, 67, 46, 61, 118, 70, 64, 94, 32, 45};
  for (int degree = 10; degree >= 0; --degree) {
    EXPECT_EQ(rs.GeneratorCoefficient(degree), field.Exp(exponents[10 - degree])) << degree;
  }
  EXPECT_EQ(rs.GeneratorCoefficient(11), 0);
  EXPECT_EQ(rs.GeneratorCoefficient(-1), 0);
  EXPECT_EQ(rs.GeneratorElement(), 2);
}

// ISO/IEC 18004 Annex I: "01234567" as version 1-M.
TEST(ReedSolomon, AnnexIExampleParity) {
  const std::vector<std::uint8_t> data = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11,
                                          0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11};
  const std::vector<std::uint8_t> expected = {0xA5, 0x24, 0xD4, 0xC1, 0xED,
                                              0x36, 0xC7, 0x87, 0x2C, 0x55};
  ReedSolomonEncoder rs;
  ASSERT_TRUE(rs.Initialise(16, 10, QrField(), true, 0, 0));
  std::vector<std::uint8_t> parity(10);
  ASSERT_TRUE(rs.EncodeBytes(data.data(), 16, parity.data()));
  EXPECT_EQ(parity, expected);

  // The polynomial form: data at the top, first codeword highest.
  std::vector<std::int32_t> codeword(26);
  for (int j = 0; j < 16; ++j)
    codeword[static_cast<std::size_t>(25 - j)] = data[static_cast<std::size_t>(j)];
  ASSERT_TRUE(rs.Encode(codeword));
  for (int j = 0; j < 10; ++j)
    EXPECT_EQ(codeword[static_cast<std::size_t>(9 - j)], expected[static_cast<std::size_t>(j)]);
}

// Every codeword is a multiple of the generator: it vanishes at a^e .. a^(e+c-1).
TEST(ReedSolomon, CodewordsVanishAtTheGeneratorRoots) {
  struct Case {
    std::int32_t q, polynomial, k, c, a, e;
  };
  std::mt19937 random(7);
  for (const Case t : {Case{256, 0x11D, 20, 7, 0, 0}, Case{256, 0x11D, 100, 30, 0, 1},
                       Case{929, 0, 40, 8, 3, 1}, Case{16, 0x13, 9, 6, 0, 0}}) {
    GaloisField field;
    ASSERT_TRUE(field.Initialise(t.q, t.polynomial, 0));
    ReedSolomonEncoder rs;
    ASSERT_TRUE(rs.Initialise(t.k, t.c, field, true, t.a, t.e));
    std::vector<std::int32_t> codeword(static_cast<std::size_t>(t.k + t.c));
    for (auto& symbol : codeword)
      symbol = static_cast<std::int32_t>(random() % static_cast<unsigned>(t.q));
    ASSERT_TRUE(rs.Encode(codeword));
    const std::int32_t a = rs.GeneratorElement();
    for (std::int32_t i = 0; i < t.c; ++i) {
      const std::int32_t root = field.Exp(field.Log(a) * (t.e + i));
      std::int32_t value = 0;  // Horner from the highest degree
      for (auto it = codeword.rbegin(); it != codeword.rend(); ++it) {
        value = field.Add(field.Multiply(value, root), *it);
      }
      EXPECT_EQ(value, 0) << "q " << t.q << " root " << i;
    }
  }
}

// The byte paths (in words, four blocks side by side, long parity in memory)
// agree with the general division, short blocks included.
TEST(ReedSolomon, BytePathsAgreeWithTheGeneralDivision) {
  std::mt19937 random(11);
  for (const std::int32_t c : {1, 2, 7, 8, 17, 30, 40}) {
    ReedSolomonEncoder rs;
    ASSERT_TRUE(rs.Initialise(50, c, QrField(), true, 0, 0));
    const std::vector<std::int32_t> lengths = {50, 49, 50, 50, 1, 50};
    std::vector<std::uint8_t> data;
    for (std::int32_t length : lengths) {
      for (std::int32_t j = 0; j < length; ++j) data.push_back(static_cast<std::uint8_t>(random()));
    }
    std::vector<std::uint8_t> parity(lengths.size() * static_cast<std::size_t>(c));
    ASSERT_TRUE(rs.EncodeByteBlocks(data.data(), lengths.data(), 6, parity.data()));
    std::size_t offset = 0;
    for (std::size_t b = 0; b < lengths.size(); ++b) {
      std::vector<std::int32_t> codeword(static_cast<std::size_t>(50 + c));
      for (std::int32_t j = 0; j < lengths[b]; ++j) {
        codeword[static_cast<std::size_t>(50 + c - (50 - lengths[b]) - 1 - j)] =
            data[offset + static_cast<std::size_t>(j)];
      }
      ASSERT_TRUE(rs.Encode(codeword));
      std::vector<std::uint8_t> single(static_cast<std::size_t>(c));
      ASSERT_TRUE(rs.EncodeBytes(data.data() + offset, lengths[b], single.data()));
      for (std::int32_t j = 0; j < c; ++j) {
        EXPECT_EQ(parity[b * static_cast<std::size_t>(c) + static_cast<std::size_t>(j)],
                  codeword[static_cast<std::size_t>(c - 1 - j)])
            << c << " block " << b;
        EXPECT_EQ(single[static_cast<std::size_t>(j)],
                  codeword[static_cast<std::size_t>(c - 1 - j)]);
      }
      offset += static_cast<std::size_t>(lengths[b]);
    }
  }
}

// Encoders of one polynomial share their product tables; an encoder given a
// new polynomial or field must not keep dividing by the old one's.
TEST(ReedSolomon, ReinitialisedEncoderDividesByItsNewPolynomial) {
  GaloisField otherField;
  ASSERT_TRUE(otherField.Initialise(256, 0x12D, 2));
  struct Step {
    std::int32_t c, e;
    bool otherField;
  };
  ReedSolomonEncoder reused;
  std::mt19937 random(5);
  for (const Step step : {Step{10, 0, false}, Step{17, 0, false}, Step{10, 1, false},
                          Step{10, 0, false}, Step{30, 0, false}, Step{30, 0, true}}) {
    ASSERT_TRUE(reused.Initialise(40, step.c, QrField(), true, 0, step.e));
    if (step.otherField) reused.SetField(otherField);
    std::vector<std::uint8_t> data(40);
    std::vector<std::int32_t> codeword(static_cast<std::size_t>(40 + step.c));
    for (std::size_t j = 0; j < data.size(); ++j) {
      data[j] = static_cast<std::uint8_t>(random());
      codeword[codeword.size() - 1 - j] = data[j];
    }
    ASSERT_TRUE(reused.Encode(codeword));
    std::vector<std::uint8_t> parity(static_cast<std::size_t>(step.c));
    ASSERT_TRUE(reused.EncodeBytes(data.data(), 40, parity.data()));
    for (std::int32_t j = 0; j < step.c; ++j) {
      EXPECT_EQ(parity[static_cast<std::size_t>(j)],
                codeword[static_cast<std::size_t>(step.c - 1 - j)])
          << "c " << step.c << " e " << step.e << " other field " << step.otherField;
    }
  }
}

TEST(ReedSolomon, InitialiseRefusesBadSizesAndKeepsItsState) {
  const GaloisField field = QrField();
  ReedSolomonEncoder rs;
  EXPECT_FALSE(rs.Initialise(10, 5, GaloisField(), true, 0, 0));  // no field, no generator
  ASSERT_TRUE(rs.Initialise(1000, 24, field, true, 0, 0));        // k + c = 1024
  struct Case {
    std::int32_t k, c, e;
  };
  for (const Case t : {Case{1001, 24, 0}, Case{0, 10, 0}, Case{10, 0, 0}, Case{10, 10, -1},
                       Case{10, 2147483647, 0}}) {
    EXPECT_FALSE(rs.Initialise(t.k, t.c, field, true, 0, t.e)) << t.k << " " << t.c;
    EXPECT_EQ(rs.DataLength(), 1000);
    EXPECT_EQ(rs.ParityLength(), 24);
  }
  EXPECT_FALSE(rs.Initialise(10, 10, field, true, 256, 0));  // not a field element
  std::vector<std::int32_t> tooShort(1023);
  EXPECT_FALSE(rs.Encode(tooShort));
  std::uint8_t parity[24];
  EXPECT_FALSE(rs.EncodeBytes(nullptr, 1001, parity));
  GaloisField prime;
  prime.Initialise(929, 0, 3);
  ASSERT_TRUE(rs.Initialise(10, 4, prime, true, 0, 0));
  EXPECT_EQ(rs.GeneratorElement(), 2);              // the previous initialisation's
  EXPECT_FALSE(rs.EncodeBytes(parity, 4, parity));  // bytes need GF(256)
}

}  // namespace
}  // namespace qrsmith
