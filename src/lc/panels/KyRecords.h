// The records of a panel resource library that describe controls: the
// 48-byte control record of the control table and the 52-byte auxiliary
// record of a control. Both are little-endian byte layouts written by the
// generator; the structures mirror them byte for byte.
#pragma once

#include <cstdint>

constexpr uint32_t kKyRecordMagic = 0xABCD1234;

#pragma pack(push, 1)
struct KyCreateCtrl {
  uint32_t magic;
  uint16_t id;
  uint16_t kind;
  int16_t x, y, width, height;  // design pixels, scaled by the panel
  uint32_t style;
  uint32_t exFlags;       // display-only, drag/drop, anchoring bits
  int16_t textId;         // creation text: a data control's type descriptor
  int16_t word26, word28, word30, word32;
  int16_t nameId;         // control name
  int16_t secondTextId;
  int16_t word38;         // the field's type letter
  int16_t borderStyle;    // 2 sunken, 3 raised, 4 bump
  int16_t dropRows;       // combo box drop-down rows
  int16_t word44, word46;
};

struct KyAuxCtrlInfo {
  uint32_t magic;
  uint16_t word4;
  int16_t tabPosition;
  int16_t contextMenu1;   // 0xFFFF when not set
  int16_t contextMenu2;
  int16_t textLimit;
  int16_t minimumId, maximumId, incrementId;  // string ids, 0 for none
  int16_t word20, word22, word24;
  int16_t groupValue;
  uint8_t rest[24];
};
#pragma pack(pop)

static_assert(sizeof(KyCreateCtrl) == 48, "control record layout");
static_assert(sizeof(KyAuxCtrlInfo) == 52, "auxiliary record layout");
