// ruruzir-convert: moisture unit conversion from the command line.
//
// Output is UTF-8 without a byte-order mark. In a Windows console, whose code page is seldom
// UTF-8, texts are written as UTF-16 instead, so that degree signs show as such.
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/converter.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

using namespace ruruzir;

namespace {

#ifdef _WIN32
HANDLE ConsoleOf(FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}
#endif

// Writes UTF-8 text to a stream (a whole number of characters); false when it could not.
bool WriteUtf8(FILE* stream, const char* text, size_t length) {
#ifdef _WIN32
  if (const HANDLE console = ConsoleOf(stream)) {
    std::fflush(stream);
    wchar_t wide[4096];
    while (length > 0) {
      // Pieces that end at a whole character.
      size_t take = length < 2048 ? length : 2048;
      while (take < length && (static_cast<unsigned char>(text[take]) & 0xC0) == 0x80) --take;
      const int count = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(take), wide, 4096);
      DWORD written;
      if (!WriteConsoleW(console, wide, static_cast<DWORD>(count), &written, nullptr)) {
        return false;
      }
      text += take;
      length -= take;
    }
    return true;
  }
#endif
  return std::fwrite(text, 1, length, stream) == length;
}

// Writes a Windows-1252 message line; false when it could not be written whole.
bool WriteMessage(FILE* stream, const char* prefix, const char* text) {
  char utf8[600];
  size_t length = Latin1ToUtf8(prefix, utf8, sizeof utf8);
  length += Latin1ToUtf8(text, utf8 + length, sizeof utf8 - length - 1);
  utf8[length++] = '\n';
  return WriteUtf8(stream, utf8, length);
}

// The temporary output file, removed when a signal ends the program before it is renamed.
char gTemporary[4096];

void RemoveTemporaryAndDie(int signal) {
#ifdef _WIN32
  if (gTemporary[0]) std::remove(gTemporary);
#else
  if (gTemporary[0]) unlink(gTemporary);
#endif
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void RememberTemporary(const std::string& name) {
  std::snprintf(gTemporary, sizeof gTemporary, "%s", name.c_str());
#ifdef SIGHUP
  std::signal(SIGHUP, RemoveTemporaryAndDie);
#endif
  for (const int signal : {SIGINT, SIGTERM}) std::signal(signal, RemoveTemporaryAndDie);
}

// The batch's input, and how much of it was read: a regular file that ends before the size it
// had when opened has shrunk while it was read.
struct BatchInput {
  FILE* stream;
  long long sizeAtOpen;  // -1: no regular file
  long long read;
};

// The output of a batch: standard output, or a temporary file next to the named one that is
// renamed into place once everything was written.
struct BatchOutput {
  FILE* stream = stdout;
  std::string name = "standard output";
  std::string temporary;  // empty for standard output and files written directly
  std::string target;     // what the temporary file replaces: the named file, or its link's
  bool named = false;     // -o FILE
  int error = 0;          // errno of the first failed write
};

size_t ReadStream(void* context, char* data, size_t size) {
  BatchInput& input = *static_cast<BatchInput*>(context);
  const size_t got = std::fread(data, 1, size, input.stream);
  input.read += static_cast<long long>(got);
  return got;
}

bool WriteStream(void* context, const char* data, size_t size) {
  BatchOutput& output = *static_cast<BatchOutput*>(context);
  errno = 0;
  if (!WriteUtf8(output.stream, data, size) || std::ferror(output.stream)) {
    output.error = errno ? errno : EIO;
    return false;
  }
  return true;
}

void Complain(const char* format, ...) {
  char text[600];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  // The names and reasons in it are the system's bytes: written as they are.
  std::string line = std::string("ruruzir-convert: ") + text + "\n";
  WriteUtf8(stderr, line.data(), line.size());
}

// True when both names are the same existing file.
bool SameFile(const char* a, const char* b) {
#ifdef _WIN32
  char fullA[MAX_PATH], fullB[MAX_PATH];
  return _fullpath(fullA, a, MAX_PATH) && _fullpath(fullB, b, MAX_PATH) &&
         _stricmp(fullA, fullB) == 0;
#else
  struct stat first, second;
  return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
#endif
}

// Opens the batch's input; nullptr (after saying why) when it is no file that can be read.
FILE* OpenInput(const char* name) {
  if (!name || std::strcmp(name, "-") == 0) return stdin;
  struct stat status;
  if (stat(name, &status) == 0 && S_ISDIR(status.st_mode)) {
    Complain("cannot read '%s': it is a folder", name);
    return nullptr;
  }
  FILE* in = std::fopen(name, "rb");
  if (!in) Complain("cannot read '%s': %s", name, std::strerror(errno));
  return in;
}

// The size of a regular file open for reading; -1 for anything else.
long long SizeAtOpen(FILE* in) {
  struct stat status;
  return fstat(fileno(in), &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : -1;
}

#ifndef _WIN32
// What a symbolic link holds.
std::string LinkText(const std::string& link) {
  char text[4096];
  const ssize_t length = readlink(link.c_str(), text, sizeof text - 1);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}
#endif

// Opens a temporary file next to `-o FILE`; false (after saying why) when it cannot be made.
bool OpenOutput(const ConverterRequest& request, BatchOutput* output) {
  if (request.outputFile.empty() || request.outputFile == "-") return true;
  output->name = request.outputFile;
  if (request.batchFile && SameFile(request.batchFile, request.outputFile.c_str())) {
    Complain("--output: '%s' is the input file: name another one", output->name.c_str());
    return false;
  }
  output->named = true;
  struct stat status;
  if (stat(output->name.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    Complain("cannot write '%s': it is a folder", output->name.c_str());
    return false;
  }
  std::string target = output->name;
#ifdef _WIN32
  output->temporary = output->name + ".part";
  output->stream = std::fopen(output->temporary.c_str(), "wb");
  if (output->stream) RememberTemporary(output->temporary);
#else
  // The file the name stands for: a link's target is written, and the link kept.
  if (lstat(target.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
    char* resolved = realpath(target.c_str(), nullptr);
    if (resolved) {
      target = resolved;
      std::free(resolved);
    } else {
      // A link to a file still to be made: the file it names, beside the link when relative.
      const std::string text = LinkText(target);
      const size_t slash = target.rfind('/');
      target =
          text[0] == '/' || slash == std::string::npos ? text : target.substr(0, slash + 1) + text;
    }
  }
  if (stat(target.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) {
      // A device, a FIFO, a terminal: written to as it is, never replaced by a file.
      output->stream = std::fopen(target.c_str(), "wb");
      if (!output->stream) {
        Complain("cannot write '%s': %s", output->name.c_str(), std::strerror(errno));
        return false;
      }
      return true;
    }
    if ((status.st_mode & 0222) == 0) {
      Complain("cannot write '%s': it is read-only (it is kept as it is)", output->name.c_str());
      return false;
    }
    if (status.st_nlink > 1) {
      Complain(
          "cannot write '%s': it has %lld names (hard links), which replacing it would part "
          "(it is kept as it is): write another file",
          output->name.c_str(), static_cast<long long>(status.st_nlink));
      return false;
    }
  }
  output->temporary = target + ".XXXXXX";
  const int descriptor = mkstemp(&output->temporary[0]);
  if (descriptor >= 0) {
    // The permissions a new file (or the file replaced) would have, not mkstemp's.
    const mode_t mask = umask(0);
    umask(mask);
    const bool replaced = stat(output->name.c_str(), &status) == 0;
    fchmod(descriptor, replaced ? status.st_mode & 07777 : 0666 & ~mask);
    output->stream = fdopen(descriptor, "wb");
    RememberTemporary(output->temporary);
  } else {
    output->stream = nullptr;
  }
#endif
  if (!output->stream) {
    Complain("cannot write '%s': %s", output->name.c_str(), std::strerror(errno));
    return false;
  }
  output->target = target;
  return true;
}

// Flushes and closes the output; a named one is renamed into place when all went well, and
// removed otherwise. False (after saying why) when the output is not complete.
bool CloseOutput(BatchOutput* output, bool complete) {
  if (output->error == 0 && std::fflush(output->stream) != 0) output->error = errno ? errno : EIO;
  if (output->temporary.empty()) {
    if (output->error == 0 && std::ferror(output->stream)) output->error = EIO;
    // Standard output is closed here, where its last error can still be reported.
    if (std::fclose(output->stream) != 0 && output->error == 0) output->error = errno ? errno : EIO;
  } else {
    if (std::fclose(output->stream) != 0 && output->error == 0) output->error = errno ? errno : EIO;
    bool renamed = false;
    if (complete && output->error == 0) {
#ifdef _WIN32
      renamed = MoveFileExA(output->temporary.c_str(), output->name.c_str(),
                            MOVEFILE_REPLACE_EXISTING) != 0;
      if (!renamed) output->error = EACCES;
#else
      renamed = std::rename(output->temporary.c_str(), output->target.c_str()) == 0;
      if (!renamed) output->error = errno;
#endif
    }
    if (!renamed) std::remove(output->temporary.c_str());
    gTemporary[0] = '\0';
  }
  if (output->error != 0) {
    Complain("cannot write %s%s%s: %s", output->named ? "'" : "", output->name.c_str(),
             output->named ? "'" : "", std::strerror(output->error));
    return false;
  }
  return true;
}

int RunBatch(const ConverterRequest& request) {
  FILE* in = OpenInput(request.batchFile);
  if (!in) return kConvertInputRefused;
  BatchOutput output;
  if (!OpenOutput(request, &output)) {
    if (in != stdin) std::fclose(in);
    return kConvertWriteFailed;
  }
#ifdef _WIN32
  // Rows keep their own line ends: no text-mode translation either way.
  if (in == stdin) _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(output.stream), _O_BINARY);
#endif
  BatchInput input{in, SizeAtOpen(in), 0};
  const BatchStreams streams{ReadStream, WriteStream, &input, &output};
  BatchSummary summary;
  int status = ConvertBatch(request, streams, &summary);
  const bool readFailed = std::ferror(in) != 0;
  const int readError = errno;
  if (in != stdin) std::fclose(in);
  const char* inputName = in == stdin ? "standard input" : request.batchFile;
  if (readFailed && status != kConvertWriteFailed) {
    Complain("cannot read '%s': %s", inputName, std::strerror(readError));
    status = kConvertInputRefused;
  } else if (status == kConvertInputRefused) {
    Complain("%s: %s", inputName, summary.refusal);
  } else if (status != kConvertWriteFailed && input.read < input.sizeAtOpen) {
    // The file shrank while it was read: the rows after what was read are missing.
    Complain(
        "'%s' shrank while it was read: %lld of the %lld bytes it had were read, so rows "
        "are missing",
        inputName, input.read, input.sizeAtOpen);
    status = kConvertInputRefused;
  }
  const bool complete = status == kConvertOk || status == kConvertRowsFailed;
  if (!CloseOutput(&output, complete)) return kConvertWriteFailed;
  if (!complete) return status;
  if (request.quiet && summary.failed == 0 && summary.cutLine == 0) return status;
  char line[300];
  int length = std::snprintf(line, sizeof line, "rows converted: %lld, failed: %lld",
                             summary.converted, summary.failed);
  if (summary.failed > 0) {
    length += std::snprintf(line + length, sizeof line - length, ", the first at line %lld",
                            summary.firstFailedLine);
  }
  if (summary.cutLine > 0) {
    std::snprintf(line + length, sizeof line - length,
                  "; line %lld, the last, has no line end: was the file cut short?",
                  summary.cutLine);
  }
  // A summary that cannot be written is a failure too: a nightly job must not miss it.
  const bool written = WriteMessage(stderr, "ruruzir-convert: ", line) && std::fflush(stderr) == 0;
  return written ? status : kConvertWriteFailed;
}

// Messages about the command line quote the user's arguments: bytes as they were given,
// which are the ANSI code page's on Windows.
void WriteArgumentMessage(const char* message) {
#ifdef _WIN32
  WriteMessage(stderr, "ruruzir-convert: ", message);
#else
  Complain("%s", message);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  ConverterRequest request = DefaultConverterRequest();
  char message[300];
  const int status = ParseConverterArguments(argc, argv, &request, message, sizeof message);
  if (status != kConvertOk) {
    WriteArgumentMessage(message);
    return status;
  }
#ifdef SIGPIPE
  // A closed pipe is a write error to report, not a silent end.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  BatchOutput standardOutput;
  if (request.help) {
    PrintConverterHelp(stdout);
    return CloseOutput(&standardOutput, true) ? kConvertOk : kConvertWriteFailed;
  }
  if (request.version) {
    WriteMessage(stdout, "ruruzir-convert ", kConverterVersion);
    return CloseOutput(&standardOutput, true) ? kConvertOk : kConvertWriteFailed;
  }
  if (request.batch) return RunBatch(request);
  char text[100];
  const int readingStatus = ConvertReading(request, request.value, request.sourcePressure,
                                           request.targetPressure, text, sizeof text);
  if (readingStatus != kConvertOk) {
    WriteMessage(stderr, "ruruzir-convert: ", text);
  } else {
    WriteMessage(stdout, "", text);
    if (!CloseOutput(&standardOutput, true)) return kConvertWriteFailed;
  }
  return readingStatus;
}
