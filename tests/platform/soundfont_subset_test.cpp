// The soundfont cut to a piece's programs sounds exactly as the whole bank does.
#include "platform/audio/soundfont_subset.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/audio/soundfont_search.h"
#include "platform/audio/soundfont_subset_file.h"
#include "support/novel.h"

namespace {

using namespace std::string_literals;

constexpr int RATE_HZ = 44100;
constexpr int BLOCK_FRAMES = 1024;

// A synthesizer set as the reader sets it, with a player on one MIDI file.
class RenderedMusic {
 public:
  explicit RenderedMusic(const std::vector<char>& midi) {
    fluid_settings_setnum(settings_.get(), "synth.sample-rate", RATE_HZ);
    fluid_settings_setint(settings_.get(), "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings_.get(), "synth.polyphony", 64);
    synth_.reset(new_fluid_synth(settings_.get()));
    midi_ = midi;
  }
  ~RenderedMusic() { player_.reset(); }

  fluid_synth_t* synth() { return synth_.get(); }
  fluid_settings_t* settings() { return settings_.get(); }

  // The presets of the bank loaded, or its drum kits alone.
  int PresetCount(bool drum_kits = false) {
    fluid_sfont_t* bank = fluid_synth_get_sfont(synth(), 0);
    int count = 0;
    fluid_sfont_iteration_start(bank);
    while (fluid_preset_t* preset = fluid_sfont_iteration_next(bank)) {
      count += !drum_kits || fluid_preset_get_banknum(preset) == 128;
    }
    return count;
  }

  std::vector<float> Render(int seconds) {
    player_.reset(new_fluid_player(synth()));
    fluid_player_add_mem(player_.get(), midi_.data(), midi_.size());
    fluid_player_play(player_.get());
    std::vector<float> out(static_cast<std::size_t>(2 * RATE_HZ * seconds));
    for (std::size_t at = 0; at < out.size(); at += 2 * BLOCK_FRAMES) {
      const int frames =
          static_cast<int>(std::min<std::size_t>(BLOCK_FRAMES, (out.size() - at) / 2));
      fluid_synth_write_float(synth(), frames, &out[at], 0, 2, &out[at], 1, 2);
    }
    return out;
  }

 private:
  struct Deleters {
    void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
    void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
    void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
  };
  std::unique_ptr<fluid_settings_t, Deleters> settings_{new_fluid_settings()};
  std::unique_ptr<fluid_synth_t, Deleters> synth_;
  std::unique_ptr<fluid_player_t, Deleters> player_;
  std::vector<char> midi_;
};

std::optional<CheckedMidi> DemoMidi(const std::string& name) {
  const std::string bytes = ReadBytes(std::string(YOMU_DEMO_DIR) + "/" + name);
  return CheckedMidiFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

TEST(SoundFontSubset, TheDemosMusicSoundsTheSameFromTheBankCutToItsPrograms) {
  const std::optional<std::string> bank = FindSoundFont(std::nullopt, SystemSoundFontPlaces());
  ASSERT_TRUE(bank) << "no General MIDI soundfont: make test installs one";
  const std::optional<SoundFontLayout> layout = SoundFontLayout::Read(*bank);
  ASSERT_TRUE(layout) << *bank;
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  for (const char* name : {"asa.mid", "umi.mid"}) {
    std::optional<CheckedMidi> midi = DemoMidi(name);
    ASSERT_TRUE(midi) << name;
    RenderedMusic whole(midi->bytes), cut(midi->bytes);
    ASSERT_NE(fluid_synth_sfload(whole.synth(), bank->c_str(), 1), FLUID_FAILED);
    MidiPrograms programs = midi->programs;
    programs.set(0);
    const SoundFontSubset subset = layout->Subset(programs);
    ASSERT_TRUE(AddSubsetLoader(cut.synth(), cut.settings()));
    ASSERT_NE(fluid_synth_sfload(cut.synth(), SubsetFileName(subset).c_str(), 1), FLUID_FAILED);
    EXPECT_LT(cut.PresetCount() * 8, whole.PresetCount()) << name;
    // Music without drums reads none of the drum kits' samples.
    EXPECT_GT(whole.PresetCount(true), 0);
    EXPECT_EQ(cut.PresetCount(true), 0) << name;

    const std::vector<float> expected = whole.Render(12);
    float loudest = 0;
    for (float sample : expected) loudest = std::max(loudest, std::abs(sample));
    EXPECT_GT(loudest, 0.01f) << name << " is silent";
    EXPECT_TRUE(cut.Render(12) == expected) << name << " sounds different from the cut bank";
  }
}

// Preset data whose runs leave their tables, run backwards or name a missing
// instrument is not cut: the bank is then loaded whole, as the library takes it.
TEST(SoundFontSubset, PresetDataThatDoesNotHoldTogetherIsNotCut) {
  const std::optional<std::string> bank = FindSoundFont(std::nullopt, SystemSoundFontPlaces());
  ASSERT_TRUE(bank) << "no General MIDI soundfont: make test installs one";
  const std::string file = ReadBytes(*bank);
  const std::optional<SoundFontLayout> layout = SoundFontLayout::Read(*bank);
  ASSERT_TRUE(layout);
  const std::size_t presets = layout->preset_data_offset() + 12;
  const auto part = [&](const char* id) { return file.find(id, presets) + 8; };
  const auto number = [&](std::size_t at) {
    return static_cast<std::uint8_t>(file[at]) | static_cast<std::uint8_t>(file[at + 1]) << 8;
  };
  const auto broken = [&](std::size_t at, std::string bytes) {
    std::string copy = file;
    copy.replace(at, bytes.size(), bytes);
    OwnedBytes source(copy);
    return !SoundFontLayout::Read(source, *bank);
  };
  const std::size_t second_zones = part("phdr") + 38 + 24;
  const int past_second = number(second_zones) + 1;
  EXPECT_TRUE(broken(part("phdr") + 24,
                     {static_cast<char>(past_second), static_cast<char>(past_second >> 8)}))
      << "a preset's zones run backwards";
  EXPECT_TRUE(broken(part("pbag"), "\xFF\xFF"s)) << "a zone's generators lie past their table";
  std::size_t instrument = part("pgen");
  while (number(instrument) != 41) instrument += 4;
  EXPECT_TRUE(broken(instrument + 2, "\xFF\xFF"s)) << "a missing instrument";
  EXPECT_TRUE(broken(part("ibag") + 2, "\xFF\x7F"s)) << "a zone's modulators lie past their table";
  EXPECT_TRUE(broken(presets - 12 + 4, "\xFF\xFF\xFF\x00"s)) << "the list runs past the file";
  EXPECT_TRUE(broken(part("shdr") - 8, "xxxx"s)) << "a table missing";
  OwnedBytes cut_short(file.substr(0, file.size() - 100));
  EXPECT_FALSE(SoundFontLayout::Read(cut_short, *bank)) << "the file cut short";
}

}  // namespace
