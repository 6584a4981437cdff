#include "encoder/galois_field.h"

#include <gtest/gtest.h>

namespace qrsmith {
namespace {

GaloisField Field(std::int32_t q, std::int32_t polynomial, std::int32_t generator = 0) {
  GaloisField field;
  EXPECT_TRUE(field.Initialise(q, polynomial, generator)) << q;
  return field;
}

TEST(GaloisField, QrFieldHasTheStandardPowersAndLogs) {
  const GaloisField gf = Field(256, 0x11D, 2);
  EXPECT_EQ(gf.Exp(8), 29);  // x^8 = x^4 + x^3 + x^2 + 1
  EXPECT_EQ(gf.Exp(255), 1);
  EXPECT_EQ(gf.Exp(-1), gf.Inverse(2));
  EXPECT_EQ(gf.Log(2), 1);
  EXPECT_EQ(gf.Log(29), 8);
  EXPECT_EQ(gf.Multiply(0x80, 2), 0x1D);
  EXPECT_EQ(gf.Add(0x53, 0xCA), 0x99);
  EXPECT_EQ(gf.Negate(0x53), 0x53);
}

// The tables and the table-free operations must agree everywhere; the
// binary field's table-free inverse works on polynomials.
TEST(GaloisField, TablesAgreeWithTableFreeArithmetic) {
  struct Case {
    std::int32_t q, polynomial;
  };
  for (const Case c : {Case{256, 0x11D}, Case{16, 0x13}, Case{7, 0}, Case{929, 0}}) {
    const GaloisField gf = Field(c.q, c.polynomial);
    for (std::int32_t x = 0; x < c.q; ++x) {
      ASSERT_EQ(gf.Inverse(x), gf.InverseWithoutTables(x)) << c.q << " " << x;
      if (x != 0) {
        ASSERT_EQ(gf.Multiply(x, gf.Inverse(x)), 1) << c.q << " " << x;
      }
      for (std::int32_t y = 0; y < c.q; y += (c.q > 256 ? 37 : 1)) {
        ASSERT_EQ(gf.Multiply(x, y), gf.MultiplyWithoutTables(x, y)) << c.q << " " << x << "*" << y;
        ASSERT_EQ(gf.Divide(x, y), gf.DivideWithoutTables(x, y)) << c.q << " " << x << "/" << y;
      }
    }
  }
}

TEST(GaloisField, PrimeFieldArithmeticIsModular) {
  const GaloisField gf = Field(7, 0);
  EXPECT_EQ(gf.Polynomial(), 0);
  EXPECT_EQ(gf.Generator(), 3);  // 2 has order 3 modulo 7
  EXPECT_EQ(gf.Add(5, 4), 2);
  EXPECT_EQ(gf.Subtract(2, 5), 4);
  EXPECT_EQ(gf.Negate(3), 4);
  EXPECT_EQ(gf.Negate(0), 0);
  EXPECT_EQ(gf.Multiply(3, 5), 1);
  EXPECT_EQ(gf.Inverse(3), 5);
  EXPECT_EQ(gf.Divide(1, 3), 5);
  EXPECT_EQ(gf.Exp(6), 1);
  EXPECT_EQ(gf.InverseWithoutTables(0), 0);
}

TEST(GaloisField, FindsTheSmallestPrimitiveElement) {
  struct Case {
    std::int32_t q, polynomial, primitive;
  };
  for (const Case c : {Case{256, 0x11D, 2}, Case{3, 0, 2}, Case{7, 0, 3}, Case{11, 0, 2},
                       Case{929, 0, 3}, Case{16, 0x13, 2}}) {
    EXPECT_EQ(Field(c.q, c.polynomial).FindPrimitiveElement(), c.primitive) << c.q;
  }
  EXPECT_EQ(GaloisField().FindPrimitiveElement(), 0);
  EXPECT_EQ(Field(2, 3).FindPrimitiveElement(), 0);  // GF(2) has no element >= 2
}

TEST(GaloisField, InitialiseRefusesBadFieldsAndKeepsTheOldOne) {
  struct Case {
    std::int32_t q, polynomial, generator;
  };
  GaloisField gf = Field(256, 0x11D, 2);
  for (const Case c : {Case{1, 0, 0}, Case{16385, 0, 0}, Case{256, 0, 2}, Case{256, 0x1D, 2},
                       Case{256, 0x21D, 2}, Case{256, 0x11D, 256}, Case{7, 0, -3}}) {
    EXPECT_FALSE(gf.Initialise(c.q, c.polynomial, c.generator)) << c.q << " " << c.polynomial;
    EXPECT_EQ(gf.Size(), 256);
    EXPECT_EQ(gf.Exp(8), 29);
  }
  EXPECT_TRUE(gf.Initialise(16384, 0x402B, 0));  // x^14 + x^5 + x^3 + x + 1
  EXPECT_TRUE(gf.Initialise(16381, 0, 0));       // the largest prime field
  const GaloisField two = Field(2, 3);
  EXPECT_EQ(two.Multiply(1, 1), 1);
  EXPECT_EQ(two.Inverse(1), 1);
}

TEST(GaloisField, NonElementsAndUninitialisedFieldsGiveZero) {
  const GaloisField gf = Field(256, 0x11D, 2);
  EXPECT_EQ(gf.Multiply(256, 3), 0);
  EXPECT_EQ(gf.Log(-1), 0);
  EXPECT_EQ(gf.Add(300, 1), 0);
  EXPECT_EQ(gf.Divide(5, 0), 0);
  const GaloisField none;
  EXPECT_EQ(none.Multiply(1, 1), 0);
  EXPECT_EQ(none.Exp(3), 0);
}

}  // namespace
}  // namespace qrsmith
