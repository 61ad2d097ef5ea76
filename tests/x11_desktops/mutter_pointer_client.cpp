#include "mutter_pointer_client.h"

#include "wait.h"

namespace zentaro::x11test {

MutterPointerClient::MutterPointerClient(const std::string& script)
    : script_(ChildOptions{{"/usr/bin/python3", script}, {}, {}, true, true})
{
}

::testing::AssertionResult MutterPointerClient::moveTo(QPoint screenPoint)
{
    return command("moveto " + std::to_string(screenPoint.x()) + " " +
                   std::to_string(screenPoint.y()));
}

::testing::AssertionResult MutterPointerClient::moveBy(QPoint delta)
{
    return command("move " + std::to_string(delta.x()) + " " + std::to_string(delta.y()));
}

::testing::AssertionResult MutterPointerClient::press()
{
    return command("press");
}

::testing::AssertionResult MutterPointerClient::release()
{
    return command("release");
}

::testing::AssertionResult MutterPointerClient::command(const std::string& line)
{
    if (!script_.writeToStdin(line + "\n")) {
        return ::testing::AssertionFailure()
               << "Mutter's remote desktop input ended before \"" << line << "\"";
    }
    // Creating the remote desktop session comes first, on the first command.
    std::optional<std::string> answer;
    waitUntil([&] {
        const std::string& out = script_.output();
        const std::size_t end = out.find('\n', answered_);
        if (end != std::string::npos) {
            answer = out.substr(answered_, end - answered_);
            answered_ = end + 1;
            return true;
        }
        return script_.exitStatus().has_value();
    });
    if (answer == "ok") {
        return ::testing::AssertionSuccess();
    }
    if (answer) {
        return ::testing::AssertionFailure()
               << "Mutter's remote desktop input refused \"" << line << "\": " << *answer;
    }
    return ::testing::AssertionFailure()
           << "Mutter's remote desktop input "
           << (script_.exitStatus() ? "ended" : "did not answer") << " at \"" << line << "\"";
}

} // namespace zentaro::x11test
