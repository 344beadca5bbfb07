// Fonts made like CreateFontA: the Mincho face found through fontconfig, or
// remembered from an earlier start (or a file given on the command line), sized by Windows cell
// heights, glyphs rendered monochrome by FreeType and cached per font.
#include "platform/gdi/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/gdi/face_cache.h"
#include "platform/gdi/font_file_stream.h"

namespace {

constexpr int DEFAULT_HEIGHT = 16;
constexpr std::int64_t MAX_PIXELS = 2048;  // bounds the sizes an odd caller could ask for
constexpr int HEAVY_WEIGHT = 600;
constexpr char32_t HIRAGANA_A = 0x3042;
constexpr char32_t IDEOGRAPH_ONE = 0x4E00;

// FreeType itself, shared by the engine and every font so that either may be
// destroyed first.
struct FontLibrary {
  FT_Library handle = nullptr;
  FontLibrary() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
  }
  ~FontLibrary() {
    if (handle != nullptr) FT_Done_FreeType(handle);
  }
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;
};

struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FaceHandle = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

struct ConfigCloser {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternCloser {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternCloser>;

const FcChar8* FcText(const char* text) { return reinterpret_cast<const FcChar8*>(text); }

// A face and the file it reads; the face goes first.
struct OpenedFace {
  std::unique_ptr<FontFileStream> file;
  FaceHandle face;
  explicit operator bool() const { return face != nullptr; }
};

OpenedFace OpenFace(const FontLibrary& library, const std::string& path, long index) {
  OpenedFace opened{FontFileStream::Open(path), nullptr};
  if (library.handle == nullptr || !opened.file) return {};
  FT_Open_Args args = opened.file->OpenArgs();
  FT_Face face = nullptr;
  if (FT_Open_Face(library.handle, &args, index, &face) != 0) return {};
  opened.face.reset(face);
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return {};
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  return opened;
}

bool CoversJapanese(FT_Face face) {
  return FT_Get_Char_Index(face, HIRAGANA_A) != 0 && FT_Get_Char_Index(face, IDEOGRAPH_ONE) != 0;
}

// The face at a location, when it can stand in for the Mincho face: one that FreeType
// opens as an outline face and that holds Japanese characters.
OpenedFace OpenMincho(const FontLibrary& library, const FaceLocation& location) {
  OpenedFace opened = OpenFace(library, location.path, location.index);
  if (opened && !CoversJapanese(opened.face.get())) return {};
  return opened;
}

bool HasFamily(FcPattern* pattern, const char* family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(name, FcText(family)) == 0) return true;
  }
  return false;
}

// The best Japanese outline face fontconfig offers for a family (any family when
// null); with required_family set, only a face of that very family counts.
std::optional<FaceLocation> MatchFace(FcConfig* config, const char* family, bool required_family) {
  PatternHandle pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  if (family != nullptr) FcPatternAddString(pattern.get(), FC_FAMILY, FcText(family));
  FcPatternAddString(pattern.get(), FC_LANG, FcText("ja"));
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternHandle match(FcFontMatch(config, pattern.get(), &result));
  if (!match || (required_family && !HasFamily(match.get(), family))) return std::nullopt;

  FcCharSet* charset = nullptr;
  FcChar8* file = nullptr;
  int index = 0;
  if (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &charset) != FcResultMatch ||
      !FcCharSetHasChar(charset, HIRAGANA_A) || !FcCharSetHasChar(charset, IDEOGRAPH_ONE) ||
      FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
    return std::nullopt;
  }
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  return FaceLocation{reinterpret_cast<const char*>(file), index};
}

// IPAMincho first (monospaced, as the old Mincho face was), then any Japanese serif
// face, then any Japanese face at all. IPAMincho, which no font installed later can
// better, is remembered for the next start.
struct FoundFace {
  FaceLocation location;
  OpenedFace opened;
};
std::optional<FoundFace> FindMinchoFace(const FontLibrary& library,
                                        const std::optional<std::string>& cache_file) {
  std::unique_ptr<FcConfig, ConfigCloser> config(FcInitLoadConfigAndFonts());
  if (!config) return std::nullopt;
  const std::pair<const char*, bool> queries[] = {
      {"IPAMincho", true}, {"serif", false}, {nullptr, false}};
  for (const auto& [family, required] : queries) {
    std::optional<FaceLocation> found = MatchFace(config.get(), family, required);
    OpenedFace opened = found ? OpenMincho(library, *found) : OpenedFace{};
    if (!opened) continue;
    if (required && cache_file) RememberFace(*cache_file, *found);
    return FoundFace{std::move(*found), std::move(opened)};
  }
  return std::nullopt;
}

std::int64_t RoundDiv(std::int64_t numerator, std::int64_t denominator) {
  return (numerator + denominator / 2) / denominator;
}

struct CellMetrics {
  int pixel_size = 0;  // em size
  int cell_height = 0;
  int ascent = 0;
};

// Every face stands in for "ＭＳ 明朝", whose cell is exactly its em with the baseline
// at 859/1000 of it. Sizing the stand-in the same way keeps rows as many characters
// wide as the novels were written for (25 full-width characters in 630 pixels at a
// cell of 24), whatever the stand-in's own ascent and descent.
constexpr std::int64_t ASCENT_PER_MILLE = 859;

CellMetrics MeasureCell(int height) {
  const std::int64_t requested =
      std::clamp<std::int64_t>(height == 0 ? DEFAULT_HEIGHT : height, -MAX_PIXELS, MAX_PIXELS);
  const std::int64_t em =
      std::clamp<std::int64_t>(requested < 0 ? -requested : requested, 1, MAX_PIXELS);
  return {static_cast<int>(em), static_cast<int>(em),
          static_cast<int>(RoundDiv(em * ASCENT_PER_MILLE, 1000))};
}

bool FaceIsHeavy(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
         (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= HEAVY_WEIGHT);
}

bool LoadMonochrome(FT_Face face, FT_UInt index) {
  return FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) == 0 &&
         FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0;
}

// The rendered bitmap as one byte per pixel, 0 or 255.
void ExpandMask(const FT_Bitmap& bitmap, Glyph& glyph) {
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if ((!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) || bitmap.buffer == nullptr) return;
  glyph.width = static_cast<int>(std::min<unsigned>(bitmap.width, 4 * MAX_PIXELS));
  glyph.height = static_cast<int>(std::min<unsigned>(bitmap.rows, 4 * MAX_PIXELS));
  glyph.mask.assign(static_cast<std::size_t>(glyph.width) * glyph.height, 0);
  const std::int64_t pitch = bitmap.pitch;
  for (int y = 0; y < glyph.height; ++y) {
    // A negative pitch stores the rows bottom-up.
    const std::int64_t row_offset = pitch >= 0 ? y * pitch : (glyph.height - 1 - y) * -pitch;
    const unsigned char* source = bitmap.buffer + row_offset;
    std::uint8_t* target = glyph.mask.data() + static_cast<std::size_t>(y) * glyph.width;
    for (int x = 0; x < glyph.width; ++x) {
      const bool on = mono ? (source[x >> 3] & (0x80 >> (x & 7))) != 0 : source[x] >= 128;
      target[x] = on ? 255 : 0;
    }
  }
}

bool MaskIsEmpty(const Glyph& glyph) {
  return std::none_of(glyph.mask.begin(), glyph.mask.end(), [](std::uint8_t v) { return v != 0; });
}

// Windows' synthetic bold: the mask ORed with itself one pixel to the right.
void Embolden(Glyph& glyph) {
  glyph.advance += 1;
  if (glyph.width == 0 || glyph.height == 0) return;
  const int width = glyph.width + 1;
  std::vector<std::uint8_t> wider(static_cast<std::size_t>(width) * glyph.height, 0);
  for (int y = 0; y < glyph.height; ++y) {
    const std::uint8_t* source = glyph.mask.data() + static_cast<std::size_t>(y) * glyph.width;
    std::uint8_t* target = wider.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t here = x < glyph.width ? source[x] : 0;
      const std::uint8_t left = x > 0 ? source[x - 1] : 0;
      target[x] = here | left;
    }
  }
  glyph.width = width;
  glyph.mask = std::move(wider);
}

}  // namespace

// The engine's one face, shared by its fonts: each font has its own size on it,
// so the face file is opened once however many fonts there are.
struct SharedFace {
  std::shared_ptr<FontLibrary> library;  // outlives the face
  OpenedFace opened;
};

struct Font::Impl {
  std::shared_ptr<SharedFace> shared;
  FT_Size size = nullptr;
  ~Impl() {
    if (size != nullptr) FT_Done_Size(size);
  }
};

Font::~Font() = default;

const Glyph& Font::GlyphFor(char32_t code) const {
  auto found = glyphs_.find(code);
  if (found != glyphs_.end()) return found->second;
  return glyphs_.emplace(code, Render(code)).first->second;
}

Glyph Font::Render(char32_t code) const {
  Glyph glyph;
  FT_Face face = impl_->shared->opened.face.get();
  FT_Activate_Size(impl_->size);
  const FT_UInt index = FT_Get_Char_Index(face, code);
  const bool loaded = LoadMonochrome(face, index) || (index != 0 && LoadMonochrome(face, 0));
  if (loaded) {
    ExpandMask(face->glyph->bitmap, glyph);
    glyph.left = face->glyph->bitmap_left;
    glyph.top = ascent_ - face->glyph->bitmap_top;
    glyph.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  }
  // A blank stand-in for a wide character still takes a wide character's place.
  const bool stand_in = index == 0 || !loaded;
  if (stand_in && code >= 0x100 && MaskIsEmpty(glyph)) glyph.advance = full_width_advance_;
  if (embolden_) Embolden(glyph);
  return glyph;
}

struct FontEngine::Impl {
  std::shared_ptr<FontLibrary> library = std::make_shared<FontLibrary>();
  std::shared_ptr<SharedFace> face;  // the face chosen, none when none serves
};

FontEngine::FontEngine(ShiftJis& shift_jis, std::optional<std::string> font_file)
    : impl_(std::make_unique<Impl>()), shift_jis_(shift_jis) {
  // The face that was opened to be judged is the one the fonts use.
  const auto use = [this](std::string path, OpenedFace opened) {
    face_path_ = std::move(path);
    impl_->face = std::make_shared<SharedFace>(SharedFace{impl_->library, std::move(opened)});
  };
  if (font_file) {
    // A file the user named is used or nothing is: a silent replacement would hide a typo.
    OpenedFace opened = OpenFace(*impl_->library, *font_file, 0);
    if (opened) use(std::move(*font_file), std::move(opened));
    return;
  }
  const std::optional<std::string> cache_file = FaceCacheFile();
  std::optional<FaceLocation> remembered = cache_file ? RememberedFace(*cache_file) : std::nullopt;
  if (remembered) {
    OpenedFace opened = OpenMincho(*impl_->library, *remembered);
    if (opened) {
      use(std::move(remembered->path), std::move(opened));
      return;
    }
    // A remembered face that no longer serves (its file replaced by another of the
    // same size and time, or damaged) is forgotten, and fontconfig asked again.
    forgotten_face_ = std::move(remembered->path);
    ForgetFace(*cache_file);
  }
  std::optional<FoundFace> found = FindMinchoFace(*impl_->library, cache_file);
  if (found) use(std::move(found->location.path), std::move(found->opened));
}

FontEngine::~FontEngine() = default;

std::unique_ptr<Font> FontEngine::Create(int height, int weight) {
  if (!impl_->face) return nullptr;
  FT_Face face = impl_->face->opened.face.get();
  auto impl = std::make_unique<Font::Impl>();
  impl->shared = impl_->face;
  if (FT_New_Size(face, &impl->size) != 0) return nullptr;
  FT_Activate_Size(impl->size);
  const CellMetrics metrics = MeasureCell(height);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(metrics.pixel_size)) != 0) return nullptr;
  std::unique_ptr<Font> font(new Font);
  font->cell_height_ = metrics.cell_height;
  font->ascent_ = metrics.ascent;
  font->full_width_advance_ = metrics.pixel_size;
  font->embolden_ = weight >= HEAVY_WEIGHT && !FaceIsHeavy(face);
  font->shift_jis_ = &shift_jis_;
  font->impl_ = std::move(impl);
  return font;
}

std::unique_ptr<Font> CreateFontA(FontEngine& engine, int height, int /*width*/, int /*escapement*/,
                                  int /*orientation*/, int weight, DWORD /*italic*/,
                                  DWORD /*underline*/, DWORD /*strike_out*/, DWORD /*charset*/,
                                  DWORD /*out_precision*/, DWORD /*clip_precision*/,
                                  DWORD /*quality*/, DWORD /*pitch_and_family*/,
                                  const char* /*face_name_sjis*/) {
  // Every face name is served by the engine's face: the novels ask only for the
  // old Mincho face, which stands in for all of them.
  return engine.Create(height == 0 ? DEFAULT_HEIGHT : height, weight);
}
