#include "chord_tools.h"

#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/chord_shapes.h"
#include "chords/tuning.h"

#include <algorithm>
#include <ostream>

namespace fw {

namespace {

struct ChordToolOptions {
    std::string operand;
    int tuning = ReferenceTuningCode;
    bool inversions = false;
    bool all = false; // every shape, not only the first TeacherShapeCount
};

// Reads the operand and the flags in any order. Returns the empty text when they are right,
// else what is wrong.
std::string ReadOptions(const std::string& tool, const std::vector<std::string>& arguments,
                        ChordToolOptions& options) {
    bool haveOperand = false, haveTuning = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--tuning") {
            if (haveTuning)
                return "--tuning given twice";
            if (i + 1 == arguments.size())
                return "--tuning needs a five-digit tuning code";
            const std::optional<int> code = ReadTuningCode(arguments[++i]);
            if (!code)
                return "bad tuning code \"" + arguments[i] +
                       "\": five digits, strings 5 to 1, each the string's shift plus 5 "
                       "(55555 is open G)";
            options.tuning = *code;
            haveTuning = true;
        } else if (a == "--inversions" && tool == "--name-chord") {
            options.inversions = true;
        } else if (a == "--all" && tool == "--chord-shapes") {
            options.all = true;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + a + " for " + tool;
        } else if (haveOperand) {
            return tool + " takes one " + (tool == "--name-chord" ? "set of frets" : "chord name");
        } else {
            options.operand = a;
            haveOperand = true;
        }
    }
    if (!haveOperand)
        return tool == "--name-chord" ? "--name-chord needs the frets, e.g. \"x, 1, 0, 1, 1\""
                                      : "--chord-shapes needs a chord name, e.g. Cm";
    return {};
}

int UsageError(std::ostream& err, const std::string& why, const char* usage) {
    err << "fretwick: " << why << "\n" << usage;
    return 2;
}

// The parser's message without its "Line n    " prefix.
std::string WithoutLinePrefix(const std::string& message) {
    const std::size_t gap = message.find("    ");
    return message.rfind("Line ", 0) == 0 && gap != std::string::npos ? message.substr(gap + 4)
                                                                      : message;
}

int NameChordTool(const ChordToolOptions& options, std::ostream& out, std::ostream& err,
                  const char* usage) {
    if (options.operand.find_first_of(",") == std::string::npos ||
        options.operand.find_first_of("\r\n") != std::string::npos)
        return UsageError(err, "bad frets \"" + options.operand + "\": five fields, strings 5 to 1",
                          usage);
    const ParsedLine parsed = ParseChordText("Chord, " + options.operand + ", Q", 0);
    if (!parsed.ok())
        return UsageError(
            err, "bad frets \"" + options.operand + "\": " + WithoutLinePrefix(parsed.error),
            usage);
    std::vector<ChordSymbol> names;
    if (parsed.isChord())
        names = NameChordLine(parsed.entry, TuningOffsets(options.tuning),
                              {.nameInversions = options.inversions});
    if (names.empty()) {
        out << "No chord name found\n";
        return 1;
    }
    out << names.front().text << "\n";
    return 0;
}

int ChordShapesTool(const ChordToolOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<ChordSymbol> chord = ParseChordSymbol(options.operand);
    if (!chord) {
        std::string qualities;
        for (const QualityRule& rule : QualityRules())
            if (*rule.suffix)
                qualities += std::string(qualities.empty() ? "" : ", ") + rule.suffix;
        err << "fretwick: unknown chord name \"" << options.operand
            << "\": a root A to G (with # or b), then nothing for major or one of " << qualities
            << "; optionally /BASS and a position \"(5)\"\n";
        return 1;
    }
    const std::vector<ChordShape> shapes = ChordShapes(*chord, TuningOffsets(options.tuning));
    if (shapes.empty()) {
        err << "fretwick: no playable shape of " << options.operand << " in tuning "
            << options.tuning << "\n";
        return 1;
    }
    const std::size_t shown =
        options.all ? shapes.size() : std::min(shapes.size(), TeacherShapeCount);
    for (std::size_t i = 0; i < shown; ++i)
        out << ChordShapeLine(*chord, shapes[i]) << "\n";
    return 0;
}

} // namespace

std::optional<int> ReadTuningCode(const std::string& text) {
    if (text.size() != 5 || text[0] == '0' ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(text);
}

int RunChordTool(const std::string& tool, const std::vector<std::string>& arguments,
                 std::ostream& out, std::ostream& err, const char* usage) {
    ChordToolOptions options;
    if (const std::string wrong = ReadOptions(tool, arguments, options); !wrong.empty())
        return UsageError(err, wrong, usage);
    return tool == "--name-chord" ? NameChordTool(options, out, err, usage)
                                  : ChordShapesTool(options, out, err);
}

} // namespace fw
