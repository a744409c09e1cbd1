// The conversions between field types, as two tables:
//
// - assignments (operator= of the target): the value converted as the
//   language converts it, except that a value beyond the target's range is
//   clamped to its limit (as every reading of a number into a field is),
//   then the target takes the source's state (its own special value for a
//   special state). From a column: a NULL column gives state 1, otherwise
//   the value, state 0 and the target's database value-to-state step.
// - casts (the protected CastFrom of the target): through the text or digit
//   forms of the source; the state becomes 0. A pair not in the table casts
//   through strGetText into PutText (KyRTType::CastFrom).
//
// Each target class declares its members with KY_ASSIGN_MEMBERS and
// KY_CAST_MEMBERS; a pair of types takes part only when the table lists it,
// so an assignment the table does not list does not compile.
//
// A BLOB's content cast into a character field has a rule of its own
// (KyBlobFld.cpp): its bytes up to the content's length, never beyond.
// Still to come: KyVariantFld (into every class but KyLdblFld, by its
// PopulateField; then state 0).
#pragma once

#include "vioInteger.h"
#include "vioNumeric.h"

#include "KyFieldsFwd.h"
class KyBlobFld;

// (target, source) of the assignments.
#define KY_FIELD_ASSIGNMENTS(X)                                                                                   \
  X(KyByteFld, KyDblFld) X(KyByteFld, KySglFld) X(KyByteFld, KyFixedDecFld)                                        \
  X(KyIntFld, KyByteFld) X(KyIntFld, KyDblFld) X(KyIntFld, KySglFld) X(KyIntFld, KyFixedDecFld)                    \
  X(KyIntFld, vioInteger) X(KyIntFld, vioSmallInt) X(KyIntFld, vioNumeric)                                         \
  X(KyLongFld, KyByteFld) X(KyLongFld, KyIntFld) X(KyLongFld, KyDblFld) X(KyLongFld, KySglFld)                     \
  X(KyLongFld, KyFixedDecFld) X(KyLongFld, vioInteger) X(KyLongFld, vioNumeric)                                    \
  X(KyLLongFld, KyByteFld) X(KyLLongFld, KyIntFld) X(KyLLongFld, KyLongFld) X(KyLLongFld, KyDblFld)                \
  X(KyLLongFld, KySglFld) X(KyLLongFld, KyFixedDecFld) X(KyLLongFld, vioBigInt)                                    \
  X(KySglFld, KyByteFld) X(KySglFld, KyIntFld) X(KySglFld, KyLongFld) X(KySglFld, KyLLongFld)                      \
  X(KySglFld, KyDblFld) X(KySglFld, KyFixedDecFld) X(KySglFld, vioFloat) X(KySglFld, vioNumeric)                   \
  X(KyDblFld, KyByteFld) X(KyDblFld, KyIntFld) X(KyDblFld, KyLongFld) X(KyDblFld, KyLLongFld)                      \
  X(KyDblFld, KySglFld) X(KyDblFld, KyFixedDecFld) X(KyDblFld, vioNumeric)                                         \
  X(KyLdblFld, vioFloat)                                                                                          \
  X(KyFixedDecFld, KyByteFld) X(KyFixedDecFld, KyIntFld) X(KyFixedDecFld, KyLongFld)                               \
  X(KyFixedDecFld, KyLLongFld) X(KyFixedDecFld, KySglFld) X(KyFixedDecFld, KyDblFld)                               \
  X(KyFixedDecFld, KyLdblFld) X(KyFixedDecFld, vioMoney) X(KyFixedDecFld, vioNumeric)

// The sources of KyFixedDecFld::operator<<= (rounding to the scale); the
// same-class one is a member of its own.
#define KY_FIELD_ROUNDING_ASSIGNMENTS(X)                                                                          \
  X(KyFixedDecFld, KyByteFld) X(KyFixedDecFld, KyIntFld) X(KyFixedDecFld, KyLongFld)                               \
  X(KyFixedDecFld, KyLLongFld) X(KyFixedDecFld, KySglFld) X(KyFixedDecFld, KyDblFld) X(KyFixedDecFld, KyLdblFld)

// (target, source) of the casts that have a rule of their own.
#define KY_FIELD_CASTS(X)                                                                                         \
  X(KyByteFld, KyDateFld) X(KyIntFld, KyDateFld) X(KyLongFld, KyDateFld) X(KyLLongFld, KyDateFld)                  \
  X(KySglFld, KyDateFld) X(KyDblFld, KyDateFld)                                                                   \
  X(KyByteFld, KyTimeFld) X(KyIntFld, KyTimeFld) X(KyLongFld, KyTimeFld) X(KyLLongFld, KyTimeFld)                  \
  X(KySglFld, KyTimeFld) X(KyDblFld, KyTimeFld)                                                                   \
  X(KyIntFld, KyCharFld) X(KyLongFld, KyCharFld) X(KyLLongFld, KyCharFld) X(KySglFld, KyCharFld)                   \
  X(KyDblFld, KyCharFld)                                                                                          \
  X(KyCharFld, KyDateFld) X(KyCharFld, KyTimeFld) X(KyCharFld, KyTimeStampFld) X(KyCharFld, KyDblFld)              \
  X(KyDateFld, KyByteFld) X(KyDateFld, KyIntFld) X(KyDateFld, KyLongFld) X(KyDateFld, KySglFld)                    \
  X(KyDateFld, KyDblFld) X(KyDateFld, KyLLongFld) X(KyDateFld, KyFixedDecFld)                                     \
  X(KyTimeFld, KyByteFld) X(KyTimeFld, KyIntFld) X(KyTimeFld, KyLongFld) X(KyTimeFld, KySglFld)                    \
  X(KyTimeFld, KyDblFld) X(KyTimeFld, KyLLongFld) X(KyTimeFld, KyFixedDecFld)                                     \
  X(KyTimeStampFld, KyFixedDecFld)                                                                                \
  X(KyFixedDecFld, KyCharFld) X(KyFixedDecFld, KyDateFld) X(KyFixedDecFld, KyTimeFld)                              \
  X(KyFixedDecFld, KyTimeStampFld) X(KyFixedDecFld, KyDblFld)

template <class Target, class Source>
inline constexpr bool kyAssigns = false;
template <class Target, class Source>
inline constexpr bool kyRoundAssigns = false;
template <class Target, class Source>
inline constexpr bool kyCasts = false;

#define KY_TABLE_ROW(Trait, Target, Source) \
  template <>                               \
  inline constexpr bool Trait<Target, Source> = true;
#define KY_ASSIGN_ROW(Target, Source) KY_TABLE_ROW(kyAssigns, Target, Source)
#define KY_ROUND_ROW(Target, Source) KY_TABLE_ROW(kyRoundAssigns, Target, Source)
#define KY_CAST_ROW(Target, Source) KY_TABLE_ROW(kyCasts, Target, Source)
KY_FIELD_ASSIGNMENTS(KY_ASSIGN_ROW)
KY_FIELD_ROUNDING_ASSIGNMENTS(KY_ROUND_ROW)
KY_FIELD_CASTS(KY_CAST_ROW)
KY_CAST_ROW(KyCharFld, KyBlobFld)
#undef KY_ASSIGN_ROW
#undef KY_ROUND_ROW
#undef KY_CAST_ROW
#undef KY_TABLE_ROW

// Defined for the rows of the tables only (KyFieldConversions.cpp).
template <class Target, class Source>
void KyAssignField(Target& target, const Source& source);
template <class Target, class Source>
void KyRoundAssignField(Target& target, const Source& source);
template <class Target, class Source>
void KyCastField(Target& target, const Source& source);
template <>
void KyCastField<KyCharFld, KyBlobFld>(KyCharFld& target, const KyBlobFld& source);

// The assignment operators of a target class.
#define KY_ASSIGN_MEMBERS(Name)                       \
  template <class Source>                             \
    requires kyAssigns<Name, Source>                  \
  Name& operator=(const Source& source) {             \
    KyAssignField(*this, source);                     \
    return *this;                                     \
  }

// The rounding assignments of KyFixedDecFld.
#define KY_ROUND_ASSIGN_MEMBERS(Name)                 \
  template <class Source>                             \
    requires kyRoundAssigns<Name, Source>             \
  Name& operator<<=(const Source& source) {           \
    KyRoundAssignField(*this, source);                \
    return *this;                                     \
  }

// The casts of a target class (protected, as every CastFrom).
#define KY_CAST_MEMBERS(Name)                                      \
 protected:                                                        \
  using KyRTType::CastFrom;                                        \
  template <class Source>                                          \
    requires kyCasts<Name, Source>                                 \
  void CastFrom(const Source& source) {                            \
    KyCastField(*this, source);                                    \
  }                                                                \
                                                                   \
 public:
