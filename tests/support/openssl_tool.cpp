#include "support/openssl_tool.h"

#include <cstdlib>
#include <stdexcept>

#include "support/temp_folder.h"
#include "support/test_files.h"

namespace testing_support {
namespace {

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace

std::string opensslSign(const std::string& privateKeyFile, std::string_view bytes) {
    TempFolder folder;
    writeFile(folder.file("file"), std::string(bytes));
    std::string command = "openssl dgst -sha256 -sign " + quoted(privateKeyFile) + " -out " +
                          quoted(folder.file("file.sig")) + " " + quoted(folder.file("file"));
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
    return readFile(folder.file("file.sig"));
}

bool opensslVerifies(std::string_view publicKeyPem, std::string_view bytes,
                     std::string_view signature) {
    TempFolder folder;
    writeFile(folder.file("key.pem"), std::string(publicKeyPem));
    writeFile(folder.file("file"), std::string(bytes));
    writeFile(folder.file("file.sig"), std::string(signature));
    std::string command = "openssl dgst -sha256 -verify " + quoted(folder.file("key.pem")) +
                          " -signature " + quoted(folder.file("file.sig")) + " " +
                          quoted(folder.file("file")) + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace testing_support
