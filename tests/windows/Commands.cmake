# The Qt-free chat commands and uploads; included from tests/.
if(TARGET tarvenix_commands AND WIN32)
  tarvenix_add_test(NAME chat_commands_tests
    SOURCES
      windows/ChatCommandsTest.cpp
      windows/ChatWindowCloseTest.cpp
      windows/CommandThreadTest.cpp
      windows/ThreadHttpPostTest.cpp
    LIBS tarvenix_commands tarvenix_test_fakes
    LABELS unit)
  # The uploads and the encoder under Wine, against the Linux build's: its
  # side is a Linux program, built here for the host.
  include(ExternalProject)
  ExternalProject_Add(upload_peer_linux
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/linux-peer
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS -DTARVENIX_BUILD_TESTS=OFF -DTARVENIX_BUILD_GUI=OFF -DTARVENIX_UPLOAD_PEER=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target upload_peer -j 2
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  add_executable(wine_upload_client windows/UploadClient.cpp)
  target_link_libraries(wine_upload_client PRIVATE tarvenix_commands shell32)
  tarvenix_add_test(NAME wine_upload_tests
    SOURCES windows/WineUploadsTest.cpp win32/ChildProcess.cpp
    LIBS tarvenix_commands crypt32 ws2_32 advapi32
    LABELS win32)
  add_dependencies(wine_upload_tests upload_peer_linux wine_upload_client)
  set_tests_properties(wine_upload_tests PROPERTIES
    ENVIRONMENT "TARVENIX_UPLOAD_PEER=${CMAKE_BINARY_DIR}/linux-peer/bin/upload_peer")
elseif(TARGET tarvenix_commands)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(COMMANDS_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
  find_package(OpenSSL REQUIRED)
  find_package(JPEG REQUIRED)
  tarvenix_add_test(NAME chat_commands_tests
    SOURCES
      windows/ChatCommandsTest.cpp
      windows/ChatUploadsTest.cpp
      windows/ChatWindowCloseTest.cpp
      windows/CommandThreadTest.cpp
      windows/ThreadHttpPostTest.cpp
      windows/UploadTransportTest.cpp
    LIBS tarvenix_commands tarvenix_test_fakes PkgConfig::COMMANDS_HTTPLIB OpenSSL::SSL OpenSSL::Crypto JPEG::JPEG
    LABELS unit)
endif()
