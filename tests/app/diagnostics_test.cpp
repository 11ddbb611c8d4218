// The two diagnostic lines: GLFW errors and OpenGL debug messages, with every
// row of the name tables and the two dropped driver ids.
#include "app/diagnostics.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::string sourceOf(GLenum source) {
    const std::string line =
        formatDebugMessage(source, GL_DEBUG_TYPE_ERROR, 1, GL_DEBUG_SEVERITY_HIGH, "m");
    const auto start = line.find("Source = ") + 9;
    return line.substr(start, line.find(',', start) - start);
}

std::string typeOf(GLenum type) {
    const std::string line =
        formatDebugMessage(GL_DEBUG_SOURCE_API, type, 1, GL_DEBUG_SEVERITY_HIGH, "m");
    const auto start = line.find("Type = ") + 7;
    return line.substr(start, line.find(',', start) - start);
}

std::string severityOf(GLenum severity) {
    const std::string line =
        formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1, severity, "m");
    const auto start = line.find("Severity = ") + 11;
    return line.substr(start, line.find(',', start) - start);
}

TEST(DebugMessage, FormatsTheWholeLine) {
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 42,
                                 GL_DEBUG_SEVERITY_MEDIUM, "slow path"),
              "OpenGL Error: slow path [Source = Shader Compiler, Type = Performance, "
              "Severity = Medium, ID = 42]");
}

TEST(DebugMessage, SourceNamesIncludingTheAmdCategories) {
    const std::vector<std::pair<GLenum, std::string>> rows{
        {GL_DEBUG_SOURCE_API, "API"},
        {GL_DEBUG_CATEGORY_API_ERROR_AMD, "API"},
        {GL_DEBUG_SOURCE_WINDOW_SYSTEM, "Window System"},
        {GL_DEBUG_CATEGORY_WINDOW_SYSTEM_AMD, "Window System"},
        {GL_DEBUG_SOURCE_SHADER_COMPILER, "Shader Compiler"},
        {GL_DEBUG_CATEGORY_SHADER_COMPILER_AMD, "Shader Compiler"},
        {GL_DEBUG_SOURCE_THIRD_PARTY, "Third Party"},
        {GL_DEBUG_SOURCE_APPLICATION, "Application"},
        {GL_DEBUG_CATEGORY_APPLICATION_AMD, "Application"},
        {GL_DEBUG_SOURCE_OTHER, "Other"},
        {GL_DEBUG_CATEGORY_OTHER_AMD, "Other"},
        {0x1234, "Unknown"},
    };
    for (const auto& [value, name] : rows) {
        EXPECT_EQ(sourceOf(value), name) << std::hex << value;
    }
}

TEST(DebugMessage, TypeNamesIncludingTheAmdCategories) {
    const std::vector<std::pair<GLenum, std::string>> rows{
        {GL_DEBUG_TYPE_ERROR, "Error"},
        {GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR, "Deprecated Behavior"},
        {GL_DEBUG_CATEGORY_DEPRECATION_AMD, "Deprecated Behavior"},
        {GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR, "Undefined Behavior"},
        {GL_DEBUG_CATEGORY_UNDEFINED_BEHAVIOR_AMD, "Undefined Behavior"},
        {GL_DEBUG_TYPE_PORTABILITY, "Portability"},
        {GL_DEBUG_TYPE_PERFORMANCE, "Performance"},
        {GL_DEBUG_CATEGORY_PERFORMANCE_AMD, "Performance"},
        {GL_DEBUG_TYPE_OTHER, "Other"},
        {GL_DEBUG_CATEGORY_OTHER_AMD, "Other"},
        {GL_DEBUG_TYPE_MARKER, "Unknown"},
        {GL_DEBUG_TYPE_PUSH_GROUP, "Unknown"},
        {GL_DEBUG_TYPE_POP_GROUP, "Unknown"},
        // An AMD error category is a source, not a type.
        {GL_DEBUG_CATEGORY_API_ERROR_AMD, "Unknown"},
    };
    for (const auto& [value, name] : rows) {
        EXPECT_EQ(typeOf(value), name) << std::hex << value;
    }
}

TEST(DebugMessage, SeverityNames) {
    EXPECT_EQ(severityOf(GL_DEBUG_SEVERITY_HIGH), "High");
    EXPECT_EQ(severityOf(GL_DEBUG_SEVERITY_MEDIUM), "Medium");
    EXPECT_EQ(severityOf(GL_DEBUG_SEVERITY_LOW), "Low");
    EXPECT_EQ(severityOf(GL_DEBUG_SEVERITY_NOTIFICATION), "Unknown");
}

TEST(DebugMessage, CallbackPrintsEveryMessageButTheTwoDriverNotes) {
    testing::internal::CaptureStdout();
    debugMessageCallback(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, 131185,
                         GL_DEBUG_SEVERITY_NOTIFICATION, -1, "buffer placement", nullptr);
    debugMessageCallback(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_PERFORMANCE, 131218,
                         GL_DEBUG_SEVERITY_MEDIUM, -1, "recompiled", nullptr);
    debugMessageCallback(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_OTHER, 7,
                         GL_DEBUG_SEVERITY_NOTIFICATION, -1, "hello", nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OpenGL Error: hello [Source = Application, Type = Other, Severity = Unknown, "
              "ID = 7]\n");
}

TEST(GlfwError, PrintsCodeAndDescription) {
    testing::internal::CaptureStdout();
    errorCallback(65540, "Invalid window size 0x768");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "GLFW error 65540: Invalid window size 0x768\n");
}

}  // namespace
