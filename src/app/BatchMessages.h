#pragma once
// Texts the batch commands print. "%s" stands for a file, command or setting name; fill them
// with FormatText.
namespace jorvo::BatchMessages {

inline constexpr char kUsage[] =
    "Usage: jorvo COMMAND [ARGUMENTS]\n"
    "Commands:\n"
    "  render DOC [-o out.wav]        render the song to a WAV file\n"
    "  play DOC [-o DEVICE]           play the song in real time (Ctrl-C stops)\n"
    "  export-midi DOC [-o out.mid]   write the song as a standard MIDI file\n"
    "  export-xml DOC [-o out.xml]    write the document as XML\n"
    "  import-xml DOC.xml [-o out.jorvo]  turn an XML document into a native one\n"
    "  info DOC                       describe the song\n"
    "  config [NAME [VALUE]]          list, read or write a setting\n"
    "DOC is a .jorvo or an XML document. COMMAND --help describes one command.\n";
inline constexpr char kUnknownCommand[] = "jorvo: unknown command '%s'.";
inline constexpr char kBadArguments[] = "jorvo %s: wrong arguments. Try 'jorvo %s --help'.";
inline constexpr char kCannotRead[] = "jorvo: cannot read document '%s'.";
inline constexpr char kCannotWrite[] = "jorvo: cannot write '%s'.";
inline constexpr char kUnknownSetting[] = "jorvo config: no setting named '%s'.";
inline constexpr char kNotANumber[] = "jorvo config: '%s' needs a number from 0 to 4294967295.";
inline constexpr char kWritten[] = "Written: %s";
inline constexpr char kUnknownDevice[] = "jorvo play: no output device '%s' plays 16-bit stereo at 44100 Hz. Devices: %s.";
// After `play`: the seconds played, the output device, and the blocks the device had to wait for.
inline constexpr char kPlaySummary[] = "Played %s s through '%s'; underruns: %s";

} // namespace jorvo::BatchMessages
