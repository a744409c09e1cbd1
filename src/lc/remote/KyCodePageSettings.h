// The AS/400 location's "Code Page" settings and the (host CCSID, PC CCSID)
// pair each one chooses. Shared by the translation (which loads the two
// tables of a setting) and the build-time table generator (which writes a
// table file for both directions of every pair), so that the two cannot
// disagree about which files exist.
#pragma once

#include <cstddef>

struct KyCodePageSetting {
  int setting;
  unsigned short hostCcsid;
  unsigned short pcCcsid;
};

// The 8xx and 9xx settings pair variants of host code pages with DOS PC
// code pages, written as 8000 + CCSID and 9000 + CCSID.
inline constexpr KyCodePageSetting kKyCodePageSettings[] = {
    {101, 1140, 1252}, {231, 1140, 1252}, {111, 1146, 1252}, {121, 420, 1256},  {122, 425, 1256},
    {131, 935, 936},   {132, 937, 950},   {141, 1142, 1252}, {221, 1142, 1252}, {151, 1143, 1252},
    {251, 1143, 1252}, {161, 1147, 1252}, {171, 1141, 1252}, {181, 1148, 1252}, {191, 1144, 1252},
    {201, 930, 932},   {202, 939, 932},   {203, 9930, 9932}, {211, 933, 949},   {241, 1145, 1252},
    {261, 1153, 1250}, {281, 1153, 1250}, {301, 1153, 1250}, {311, 1153, 1250}, {331, 1153, 1250},
    {271, 875, 1253},  {291, 1149, 1252}, {321, 1025, 1251}, {322, 1025, 1252}, {341, 838, 874},
    {351, 1155, 1254}, {361, 424, 1255},  {371, 1156, 1257}, {381, 1157, 1257},
    {810, 8037, 8437}, {811, 8037, 8850}, {812, 8297, 8437}, {813, 8297, 8850}, {814, 8273, 8437},
    {815, 8273, 8850}, {816, 8280, 8437}, {817, 8280, 8850}, {818, 8277, 8865}, {819, 8277, 8850},
    {820, 8284, 8437}, {821, 8284, 8850}, {822, 8278, 8437}, {823, 8278, 8850}, {824, 8285, 8437},
    {825, 8285, 8850}, {826, 8001, 8002}, {827, 8037, 8860}, {828, 8500, 8437}, {829, 8500, 8850},
    {910, 9037, 9437}, {911, 9037, 9850}, {912, 9297, 9437}, {913, 9297, 9850}, {914, 9273, 9437},
    {915, 9273, 9850}, {916, 9280, 9437}, {917, 9280, 9850}, {918, 9277, 9865}, {919, 9277, 9850},
    {920, 9284, 9437}, {921, 9284, 9850}, {922, 9278, 9437}, {923, 9278, 9850}, {924, 9285, 9437},
    {925, 9285, 9850}, {926, 9001, 9002}, {927, 9037, 9860}, {928, 9500, 9437}, {929, 9500, 9850},
};

// The setting's entry, or null for a setting the table does not know.
inline const KyCodePageSetting* KyFindCodePageSetting(int iSetting) {
  for (const KyCodePageSetting& entry : kKyCodePageSettings)
    if (entry.setting == iSetting) return &entry;
  return nullptr;
}

// Whether a pair of CCSIDs is one of the table's (either direction).
inline bool KyIsKnownCcsidPair(unsigned short source, unsigned short target) {
  for (const KyCodePageSetting& entry : kKyCodePageSettings)
    if ((entry.hostCcsid == source && entry.pcCcsid == target) ||
        (entry.pcCcsid == source && entry.hostCcsid == target))
      return true;
  return false;
}
