# The Qt-free chat commands and uploads; included from tests/.
if(TARGET tarvenix_commands)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(COMMANDS_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
  find_package(OpenSSL REQUIRED)
  find_package(JPEG REQUIRED)
  tarvenix_add_test(NAME chat_commands_tests
    SOURCES
      windows/ChatCommandsTest.cpp
      windows/ChatUploadsTest.cpp
      windows/CommandThreadTest.cpp
      windows/ThreadHttpPostTest.cpp
      windows/UploadTransportTest.cpp
    LIBS tarvenix_commands tarvenix_test_fakes PkgConfig::COMMANDS_HTTPLIB OpenSSL::SSL OpenSSL::Crypto JPEG::JPEG
    LABELS unit)
endif()
