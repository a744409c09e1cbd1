// Type library files in the MSFT form: a header, the offsets of the type
// records, a directory of fifteen segments (type records, imports,
// references, GUID hash and GUIDs, name hash and names, strings, type
// descriptions, array descriptions, custom data ...), then one block of
// function and variable records per type. Little-endian throughout.
//
// Names and strings hold bytes of the library's code page: characters up
// to 0xFF are kept, others written as "?". Simple types are stored in
// place (0x80000000 | vt << 16 | vt); pointers, arrays and references to
// other types are entries of the type-description segment.
#include <cstring>

#include "typelibdata.h"

namespace oleaut::tlb {
namespace {

constexpr int32_t kMagic = 0x5446534D;  // "MSFT"
constexpr int32_t kFormatVersion = 0x00010002;
constexpr int kSegments = 15;
enum Segment { kTypeInfos, kImpInfo, kImpFiles, kRefs, kGuidHash, kGuids, kReserved6, kNameHash, kNames, kStrings,
               kTypeDescs, kArrayDescs, kCustData, kCustDataGuids, kReserved14 };
constexpr size_t kHeaderSize = 21 * 4;
constexpr size_t kFuncFixed = 32;   // a function record without its parameters
constexpr size_t kParamSize = 12;
constexpr size_t kVarSize = 28;
constexpr int32_t kSimpleType = static_cast<int32_t>(0x80000000u);

class Writer {
 public:
  std::vector<uint8_t> bytes;
  int32_t size() const { return static_cast<int32_t>(bytes.size()); }
  void i32(int32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i))); }
  void i16(int16_t v) { for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i))); }
  void raw(const void* p, size_t n) { bytes.insert(bytes.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n); }
  void pad(uint8_t filler) { while (bytes.size() % 4) bytes.push_back(filler); }
  void put32(size_t at, int32_t v) { for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i)); }
};

class Reader {
 public:
  Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  bool has(int64_t at, int64_t n) const { return at >= 0 && n >= 0 && at + n <= static_cast<int64_t>(bytes_.size()); }
  bool i32(int64_t at, int32_t* v) const {
    if (!has(at, 4)) return false;
    *v = static_cast<int32_t>(bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16 | uint32_t(bytes_[at + 3]) << 24);
    return true;
  }
  bool i16(int64_t at, int16_t* v) const {
    if (!has(at, 2)) return false;
    *v = static_cast<int16_t>(bytes_[at] | bytes_[at + 1] << 8);
    return true;
  }
  const uint8_t* at(int64_t offset) const { return bytes_.data() + offset; }

 private:
  const std::vector<uint8_t>& bytes_;
};

std::string narrow(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
  return bytes;
}

std::u16string widen(const uint8_t* p, size_t n) {
  std::u16string text;
  for (size_t i = 0; i < n; ++i) text += static_cast<char16_t>(p[i]);
  return text;
}

uint16_t nameHash(const std::string& name) {
  uint32_t hash = 0;
  for (unsigned char c : name) hash = hash * 31 + static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return static_cast<uint16_t>(hash ^ (hash >> 16));
}

// Builds the segments while the records are written.
class FileBuilder {
 public:
  Writer seg[kSegments];

  // -1 for none. Equal names share one entry.
  bool name(const std::u16string& text, int32_t href, int32_t* offset) {
    const std::string bytes = narrow(text);
    if (bytes.size() > 255) return false;
    for (const auto& [known, at] : names_)
      if (known == bytes) return *offset = at, true;
    Writer& w = seg[kNames];
    *offset = w.size();
    w.i32(href);
    w.i32(-1);  // next in the hash chain
    w.i32(static_cast<int32_t>(bytes.size()) | 0x38 << 8 | nameHash(bytes) << 16);
    w.raw(bytes.data(), bytes.size());
    w.pad(0x57);
    names_.emplace_back(bytes, *offset);
    return true;
  }
  int32_t string(const std::u16string& text) {
    if (text.empty()) return -1;
    const std::string bytes = narrow(text);
    Writer& w = seg[kStrings];
    const int32_t offset = w.size();
    w.i16(static_cast<int16_t>(std::min<size_t>(bytes.size(), 0x7FFF)));
    w.raw(bytes.data(), std::min<size_t>(bytes.size(), 0x7FFF));
    w.pad(0x57);
    return offset;
  }
  int32_t guid(const GUID& guid, int32_t href) {
    Writer& w = seg[kGuids];
    const int32_t offset = w.size();
    w.i32(static_cast<int32_t>(guid.Data1));
    w.i16(static_cast<int16_t>(guid.Data2));
    w.i16(static_cast<int16_t>(guid.Data3));
    w.raw(guid.Data4, 8);
    w.i32(href);
    w.i32(-1);
    return offset;
  }
  int32_t typeDesc(const TypeDesc& type) {
    const bool complex = type.vt == VT_PTR || type.vt == VT_SAFEARRAY || type.vt == VT_USERDEFINED;
    if (!complex) return kSimpleType | type.vt << 16 | type.vt;
    const int32_t data = type.vt == VT_USERDEFINED ? static_cast<int32_t>(type.href)
                                                    : (type.inner ? typeDesc(*type.inner) : kSimpleType);
    Writer& w = seg[kTypeDescs];
    const int32_t offset = w.size();
    w.i16(static_cast<int16_t>(type.vt));
    w.i16(static_cast<int16_t>(type.vt == VT_USERDEFINED ? 0x7FFE : 0x7FFF));
    w.i32(data);
    return offset;
  }
  int32_t constant(const Constant& value) {
    Writer& w = seg[kCustData];
    const int32_t offset = w.size();
    w.i16(static_cast<int16_t>(value.vt));
    if (value.vt == VT_BSTR) {
      const std::string bytes = narrow(value.text);
      w.i32(static_cast<int32_t>(bytes.size()));
      w.raw(bytes.data(), bytes.size());
    } else if (value.vt == VT_R4 || value.vt == VT_R8 || value.vt == VT_DATE) {
      w.raw(&value.real, sizeof value.real);
    } else {
      w.raw(&value.integer, sizeof value.integer);
    }
    w.pad(0x57);
    return offset;
  }

 private:
  std::vector<std::pair<std::string, int32_t>> names_;
};

bool writeMembers(FileBuilder& file, const Type& type, Writer& block) {
  Writer records;
  std::vector<int32_t> ids, names, offsets;
  // Each record's place, member id and name go to the arrays after the records.
  const auto listed = [&](MEMBERID memid, const std::u16string& memberName) {
    offsets.push_back(records.size());
    ids.push_back(memid);
    int32_t name = -1;
    if (!memberName.empty() && !file.name(memberName, -1, &name)) return false;
    names.push_back(name);
    return true;
  };
  for (size_t i = 0; i < type.funcs.size(); ++i) {
    const Func& f = type.funcs[i];
    if (!listed(f.memid, f.name)) return false;
    const size_t size = kFuncFixed + kParamSize * f.params.size();
    records.i32(static_cast<int32_t>(size) | static_cast<int32_t>(i) << 16);
    records.i32(file.typeDesc(f.result));
    records.i32(f.flags);
    records.i16(f.oVft);
    records.i16(0);
    records.i32(f.funckind | f.invkind << 3 | f.callconv << 8);
    records.i16(static_cast<int16_t>(f.params.size()));
    records.i16(f.cParamsOpt);
    records.i32(static_cast<int32_t>(f.helpContext));
    records.i32(file.string(f.doc));
    for (const Param& p : f.params) {
      int32_t paramName = -1;
      if (p.named && !file.name(p.name, -1, &paramName)) return false;
      records.i32(file.typeDesc(p.type));
      records.i32(paramName);
      records.i32(p.flags);
    }
  }
  for (size_t i = 0; i < type.vars.size(); ++i) {
    const Var& v = type.vars[i];
    if (!listed(v.memid, v.name)) return false;
    records.i32(static_cast<int32_t>(kVarSize) | static_cast<int32_t>(i) << 16);
    records.i32(file.typeDesc(v.type));
    records.i32(v.flags);
    records.i16(static_cast<int16_t>(v.kind));
    records.i16(0);
    records.i32(v.kind == VAR_CONST ? file.constant(v.value) : static_cast<int32_t>(v.oInst));
    records.i32(static_cast<int32_t>(v.helpContext));
    records.i32(file.string(v.doc));
  }
  block.i32(records.size());
  block.raw(records.bytes.data(), records.bytes.size());
  for (const auto* list : {&ids, &names, &offsets})
    for (int32_t value : *list) block.i32(value);
  return true;
}

}  // namespace

bool writeFile(const Library& library, std::vector<uint8_t>* bytes) {
  FileBuilder file;
  const int32_t libGuid = file.guid(library.libid, -2);
  int32_t libName = -1;
  if (!file.name(library.name, -1, &libName)) return false;
  std::vector<Writer> blocks(library.types.size());
  std::vector<size_t> memOffsetAt;
  for (size_t t = 0; t < library.types.size(); ++t) {
    const Type& type = library.types[t];
    const int32_t href = static_cast<int32_t>(hrefOf(t));
    int32_t name = -1;
    if (!file.name(type.name, href, &name) || !writeMembers(file, type, blocks[t])) return false;
    int32_t firstImpl = -1;
    for (size_t i = 0; i < type.impls.size(); ++i) {
      Writer& refs = file.seg[kRefs];
      if (i == 0) firstImpl = refs.size();
      refs.i32(static_cast<int32_t>(type.impls[i].href));
      refs.i32(type.impls[i].flags);
      refs.i32(-1);  // custom data
      refs.i32(i + 1 < type.impls.size() ? refs.size() + 4 : -1);
    }
    Writer& w = file.seg[kTypeInfos];
    w.i32(type.kind | type.alignment << 11);
    memOffsetAt.push_back(w.bytes.size());
    w.i32(0);  // memoffset, set below
    for (int i = 0; i < 4; ++i) w.i32(0);
    w.i32(static_cast<int32_t>(type.funcs.size()) | static_cast<int32_t>(type.vars.size()) << 16);
    for (int i = 0; i < 4; ++i) w.i32(0);
    w.i32(type.guid == GUID_NULL ? -1 : file.guid(type.guid, href));
    w.i32(type.flags);
    w.i32(name);
    w.i32(type.major | type.minor << 16);
    w.i32(file.string(type.doc));
    w.i32(0);  // help string context
    w.i32(static_cast<int32_t>(type.helpContext));
    w.i32(-1);  // custom data
    w.i16(static_cast<int16_t>(type.impls.size()));
    w.i16(static_cast<int16_t>(type.sizeVft));
    w.i32(static_cast<int32_t>(type.sizeInstance));
    w.i32(type.kind == TKIND_ALIAS ? file.typeDesc(type.alias) : firstImpl);
    w.i32(0);
    w.i32(0);
    w.i32(-1);
  }
  for (int i = 0; i < 0x80 / 4; ++i) file.seg[kGuidHash].i32(-1);
  for (int i = 0; i < 0x200 / 4; ++i) file.seg[kNameHash].i32(-1);

  Writer out;
  out.i32(kMagic);
  out.i32(kFormatVersion);
  out.i32(libGuid);
  out.i32(static_cast<int32_t>(library.lcid));
  out.i32(static_cast<int32_t>(library.lcid));
  out.i32(library.syskind);
  out.i32(library.major | library.minor << 16);
  out.i32(library.flags);
  out.i32(static_cast<int32_t>(library.types.size()));
  out.i32(file.string(library.doc));
  out.i32(0);  // help string context
  out.i32(static_cast<int32_t>(library.helpContext));
  out.i32(0);  // name table count and characters: informational
  out.i32(0);
  out.i32(libName);
  out.i32(file.string(library.helpFile));
  out.i32(-1);  // custom data
  out.i32(0x20);
  out.i32(0x80);
  out.i32(-1);  // dispatch position
  out.i32(0);   // imported libraries
  for (size_t t = 0; t < library.types.size(); ++t) out.i32(static_cast<int32_t>(hrefOf(t)));
  const size_t directory = out.bytes.size();
  for (int s = 0; s < kSegments; ++s)
    for (int i = 0; i < 4; ++i) out.i32(0);
  for (int s = 0; s < kSegments; ++s) {
    const int32_t offset = file.seg[s].bytes.empty() ? -1 : out.size();
    out.put32(directory + s * 16, offset);
    out.put32(directory + s * 16 + 4, file.seg[s].size());
    out.put32(directory + s * 16 + 8, -1);
    out.put32(directory + s * 16 + 12, 0x0F);
    out.raw(file.seg[s].bytes.data(), file.seg[s].bytes.size());
  }
  int32_t typeInfoBase = 0;  // where the type records landed
  std::memcpy(&typeInfoBase, out.bytes.data() + directory, 4);
  for (size_t t = 0; t < blocks.size(); ++t) {
    out.put32(typeInfoBase + memOffsetAt[t], out.size());
    out.raw(blocks[t].bytes.data(), blocks[t].bytes.size());
  }
  *bytes = std::move(out.bytes);
  return true;
}

namespace {

class FileParser {
 public:
  FileParser(const std::vector<uint8_t>& bytes) : in_(bytes) {}

  HRESULT parse(Library* library) {
    int32_t magic = 0, version = 0;
    if (!in_.i32(0, &magic) || !in_.i32(4, &version) || magic != kMagic || version != kFormatVersion)
      return TYPE_E_UNSUPFORMAT;
    int32_t h[21];
    for (int i = 0; i < 21; ++i)
      if (!in_.i32(i * 4, &h[i])) return TYPE_E_INVDATAREAD;
    const int32_t types = h[8];
    if (types < 0 || types > 0x10000) return TYPE_E_INVDATAREAD;
    const int64_t directory = kHeaderSize + (h[5] & 0x100 ? 4 : 0) + int64_t(types) * 4;
    for (int s = 0; s < kSegments; ++s)
      if (!in_.i32(directory + s * 16, &segOffset_[s]) || !in_.i32(directory + s * 16 + 4, &segLength_[s]) ||
          (segOffset_[s] != -1 && !in_.has(segOffset_[s], segLength_[s])))
        return TYPE_E_INVDATAREAD;
    Library lib;
    if (!guid(h[2], &lib.libid) || !name(h[14], &lib.name) || !string(h[9], &lib.doc) || !string(h[15], &lib.helpFile))
      return TYPE_E_INVDATAREAD;
    lib.lcid = static_cast<LCID>(h[3]);
    if ((h[5] & 0xF) > SYS_WIN64) return TYPE_E_UNSUPFORMAT;
    lib.syskind = static_cast<SYSKIND>(h[5] & 0xF);
    lib.major = static_cast<WORD>(h[6]);
    lib.minor = static_cast<WORD>(h[6] >> 16);
    lib.flags = static_cast<WORD>(h[7]);
    lib.helpContext = static_cast<DWORD>(h[11]);
    for (int32_t t = 0; t < types; ++t) {
      Type type;
      if (!typeRecord(t, &type)) return TYPE_E_INVDATAREAD;
      lib.types.push_back(std::move(type));
    }
    *library = std::move(lib);
    return S_OK;
  }

 private:
  bool inSegment(Segment s, int64_t offset, int64_t n) const {
    return segOffset_[s] != -1 && offset >= 0 && offset + n <= segLength_[s];
  }
  bool guid(int32_t offset, GUID* out) {
    if (offset == -1) return *out = GUID_NULL, true;
    if (!inSegment(kGuids, offset, 24)) return false;
    const int64_t at = segOffset_[kGuids] + offset;
    int32_t d1 = 0;
    int16_t d2 = 0, d3 = 0;
    in_.i32(at, &d1);
    in_.i16(at + 4, &d2);
    in_.i16(at + 6, &d3);
    out->Data1 = static_cast<DWORD>(d1);
    out->Data2 = static_cast<WORD>(d2);
    out->Data3 = static_cast<WORD>(d3);
    std::memcpy(out->Data4, in_.at(at + 8), 8);
    return true;
  }
  bool name(int32_t offset, std::u16string* out) {
    out->clear();
    if (offset == -1) return true;
    int32_t length = 0;
    if (!inSegment(kNames, offset, 12) || !in_.i32(segOffset_[kNames] + offset + 8, &length)) return false;
    length &= 0xFF;
    if (!inSegment(kNames, offset + 12, length)) return false;
    *out = widen(in_.at(segOffset_[kNames] + offset + 12), length);
    return true;
  }
  bool string(int32_t offset, std::u16string* out) {
    out->clear();
    if (offset == -1) return true;
    int16_t length = 0;
    if (!inSegment(kStrings, offset, 2) || !in_.i16(segOffset_[kStrings] + offset, &length) || length < 0 ||
        !inSegment(kStrings, offset + 2, length))
      return false;
    *out = widen(in_.at(segOffset_[kStrings] + offset + 2), length);
    return true;
  }
  bool typeDesc(int32_t encoded, TypeDesc* out, int depth = 0) {
    if (encoded < 0) {
      out->vt = static_cast<VARTYPE>(encoded & 0xFFFF);
      return true;
    }
    int16_t vt = 0;
    int32_t data = 0;
    if (depth > 16 || !inSegment(kTypeDescs, encoded, 8) || !in_.i16(segOffset_[kTypeDescs] + encoded, &vt) ||
        !in_.i32(segOffset_[kTypeDescs] + encoded + 4, &data))
      return false;
    out->vt = static_cast<VARTYPE>(vt);
    if (out->vt == VT_USERDEFINED) return out->href = static_cast<HREFTYPE>(data), true;
    if (out->vt != VT_PTR && out->vt != VT_SAFEARRAY) return false;
    auto inner = std::make_shared<TypeDesc>();
    if (!typeDesc(data, inner.get(), depth + 1)) return false;
    out->inner = std::move(inner);
    return true;
  }
  bool constant(int32_t offset, Constant* out) {
    int16_t vt = 0;
    if (!inSegment(kCustData, offset, 2) || !in_.i16(segOffset_[kCustData] + offset, &vt)) return false;
    out->vt = static_cast<VARTYPE>(vt);
    const int64_t at = segOffset_[kCustData] + offset + 2;
    if (out->vt == VT_BSTR) {
      int32_t length = 0;
      if (!inSegment(kCustData, offset + 2, 4) || !in_.i32(at, &length) || !inSegment(kCustData, offset + 6, length))
        return false;
      out->text = widen(in_.at(at + 4), length);
      return true;
    }
    if (!inSegment(kCustData, offset + 2, 8)) return false;
    if (out->vt == VT_R4 || out->vt == VT_R8 || out->vt == VT_DATE)
      std::memcpy(&out->real, in_.at(at), 8);
    else
      std::memcpy(&out->integer, in_.at(at), 8);
    return true;
  }

  bool typeRecord(int32_t index, Type* type) {
    const int64_t base = int64_t(index) * kTypeRecordSize;
    if (!inSegment(kTypeInfos, base, kTypeRecordSize)) return false;
    int32_t r[25];
    for (int i = 0; i < 25; ++i) in_.i32(segOffset_[kTypeInfos] + base + i * 4, &r[i]);
    type->kind = static_cast<TYPEKIND>(r[0] & 0xF);
    if (type->kind >= TKIND_MAX) return false;
    type->alignment = static_cast<WORD>((r[0] >> 11) & 0x1F);
    type->flags = static_cast<WORD>(r[12]);
    type->major = static_cast<WORD>(r[14]);
    type->minor = static_cast<WORD>(r[14] >> 16);
    type->helpContext = static_cast<DWORD>(r[17]);
    const int cImpl = static_cast<int16_t>(r[19] & 0xFFFF);
    type->sizeVft = static_cast<WORD>(r[19] >> 16);
    type->sizeInstance = static_cast<ULONG>(r[20]);
    if (!guid(r[11], &type->guid) || !name(r[13], &type->name) || !string(r[15], &type->doc)) return false;
    if (type->kind == TKIND_ALIAS) {
      if (!typeDesc(r[21], &type->alias)) return false;
    } else if (cImpl > 0) {
      int32_t ref = r[21];
      for (int i = 0; i < cImpl; ++i) {
        int32_t href = 0, flags = 0, next = 0;
        if (!inSegment(kRefs, ref, 16) || !in_.i32(segOffset_[kRefs] + ref, &href) ||
            !in_.i32(segOffset_[kRefs] + ref + 4, &flags) || !in_.i32(segOffset_[kRefs] + ref + 12, &next))
          return false;
        type->impls.push_back(Impl{static_cast<HREFTYPE>(href), flags});
        ref = next;
      }
    }
    return members(r[1], r[6] & 0xFFFF, (r[6] >> 16) & 0xFFFF, type);
  }

  bool members(int64_t block, int funcs, int vars, Type* type) {
    int32_t recordsSize = 0;
    if (!in_.i32(block, &recordsSize) || recordsSize < 0) return false;
    const int64_t records = block + 4;
    const int64_t arrays = records + recordsSize;
    const int n = funcs + vars;
    if (!in_.has(records, recordsSize) || !in_.has(arrays, int64_t(n) * 12)) return false;
    for (int i = 0; i < n; ++i) {
      int32_t id = 0, nameOffset = 0, offset = 0;
      in_.i32(arrays + i * 4, &id);
      in_.i32(arrays + (n + i) * 4, &nameOffset);
      in_.i32(arrays + (2 * n + i) * 4, &offset);
      std::u16string memberName;
      if (!name(nameOffset, &memberName) || offset < 0 || offset > recordsSize) return false;
      const int64_t at = records + offset;
      const int64_t room = recordsSize - offset;
      if (i < funcs) {
        Func f;
        f.memid = id;
        f.name = memberName;
        if (!function(at, room, &f)) return false;
        type->funcs.push_back(std::move(f));
      } else {
        Var v;
        v.memid = id;
        v.name = memberName;
        if (!variable(at, room, &v)) return false;
        type->vars.push_back(std::move(v));
      }
    }
    return true;
  }

  bool function(int64_t at, int64_t room, Func* f) {
    if (room < static_cast<int64_t>(kFuncFixed)) return false;
    int32_t info = 0, result = 0, flags = 0, kinds = 0, help = 0, doc = 0;
    int16_t vft = 0, nargs = 0, nopt = 0;
    in_.i32(at, &info);
    in_.i32(at + 4, &result);
    in_.i32(at + 8, &flags);
    in_.i16(at + 12, &vft);
    in_.i32(at + 16, &kinds);
    in_.i16(at + 20, &nargs);
    in_.i16(at + 22, &nopt);
    in_.i32(at + 24, &help);
    in_.i32(at + 28, &doc);
    const int64_t size = info & 0xFFFF;
    // Kinds outside their enumerations are no description at all.
    const int funckind = kinds & 7, invkind = (kinds >> 3) & 0xF, callconv = (kinds >> 8) & 0xF;
    if (funckind > FUNC_DISPATCH || (invkind & (invkind - 1)) || !invkind || callconv >= CC_MAX) return false;
    if (nargs < 0 || size > room || size < static_cast<int64_t>(kFuncFixed + kParamSize * nargs)) return false;
    f->flags = static_cast<WORD>(flags);
    f->oVft = vft;
    f->funckind = static_cast<FUNCKIND>(funckind);
    f->invkind = static_cast<INVOKEKIND>(invkind);
    f->callconv = static_cast<CALLCONV>(callconv);
    f->cParamsOpt = nopt;
    f->helpContext = static_cast<DWORD>(help);
    if (!typeDesc(result, &f->result) || !string(doc, &f->doc)) return false;
    const int64_t params = at + size - int64_t(kParamSize) * nargs;
    for (int i = 0; i < nargs; ++i) {
      int32_t type = 0, paramName = 0, paramFlags = 0;
      in_.i32(params + i * 12, &type);
      in_.i32(params + i * 12 + 4, &paramName);
      in_.i32(params + i * 12 + 8, &paramFlags);
      Param p;
      p.named = paramName != -1;
      p.flags = static_cast<USHORT>(paramFlags);
      if (!typeDesc(type, &p.type) || !name(paramName, &p.name)) return false;
      f->params.push_back(std::move(p));
    }
    return true;
  }

  bool variable(int64_t at, int64_t room, Var* v) {
    if (room < static_cast<int64_t>(kVarSize)) return false;
    int32_t type = 0, flags = 0, value = 0, help = 0, doc = 0;
    int16_t kind = 0;
    in_.i32(at + 4, &type);
    in_.i32(at + 8, &flags);
    in_.i16(at + 12, &kind);
    in_.i32(at + 16, &value);
    in_.i32(at + 20, &help);
    in_.i32(at + 24, &doc);
    if (kind < VAR_PERINSTANCE || kind > VAR_DISPATCH) return false;
    v->flags = static_cast<WORD>(flags);
    v->kind = static_cast<VARKIND>(kind);
    v->helpContext = static_cast<DWORD>(help);
    if (v->kind == VAR_CONST) {
      if (!constant(value, &v->value)) return false;
    } else {
      v->oInst = static_cast<ULONG>(value);
    }
    return typeDesc(type, &v->type) && string(doc, &v->doc);
  }

  Reader in_;
  int32_t segOffset_[kSegments] = {};
  int32_t segLength_[kSegments] = {};
};

}  // namespace

HRESULT readFile(const std::vector<uint8_t>& bytes, Library* library) { return FileParser(bytes).parse(library); }

bool sameName(const std::u16string& a, const OLECHAR* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (!b[i]) return false;
    char16_t x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char16_t>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return b[i] == 0;
}

std::u16string fromOle(const OLECHAR* text) {
  std::u16string out;
  if (text)
    for (; *text; ++text) out += static_cast<char16_t>(*text);
  return out;
}

}  // namespace oleaut::tlb
