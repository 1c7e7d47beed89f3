#include "set_file_loading.h"

#include <ostream>

#include "model/file_io.h"
#include "model/set_file.h"

namespace kq904::cli {

bool loadSetFileWithWarning(RadioImage& image, const std::string& path, CommandStreams streams)
{
    const SetFileContent content = readSetFile(pathFromUtf8(path));
    Result loaded = content.result;
    if (loaded)
        loaded = decodeSetFile(image, content.bytes);
    if (!loaded) {
        streams.err << kProgramName << ": " << loaded.error << '\n';
        return false;
    }
    if (!content.problem.empty())
        streams.err << kProgramName << ": warning: " << content.problem << '\n';
    return true;
}

} // namespace kq904::cli
