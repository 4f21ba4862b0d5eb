# The chat window's commands, screenshot and file uploads and the upload
# transport: no Qt, so they are built without the GUI too and tested with
# fakes and no display. Included from src/.
# The program cannot do without them, nor the Windows build, which has them
# from Debian's sources (scripts/win32-deps); the sanitizer and fuzzing
# builds leave the commands out when the libraries are missing.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  if(NOT EXISTS "${TARVENIX_WIN32_DEPS}/key")
    message(FATAL_ERROR "No Windows libraries in '${TARVENIX_WIN32_DEPS}': run scripts/win32-deps first.")
  endif()
  set(OPENSSL_USE_STATIC_LIBS TRUE)
endif()
if(TARVENIX_BUILD_GUI OR (WIN32 AND CMAKE_CROSSCOMPILING))
  find_package(CURL REQUIRED)
  find_package(JPEG REQUIRED)
else()
  find_package(CURL)
  find_package(JPEG)
endif()
if(CURL_FOUND AND JPEG_FOUND)
  add_library(tarvenix_commands STATIC
    windows/ChatCommands.cpp
    windows/ChatUploads.cpp
    windows/ChatWindowClose.cpp
    windows/CommandThread.cpp
    windows/JpegEncoder.cpp
    windows/ThreadHttpPost.cpp
    windows/UploadReply.cpp
    windows/UploadTransport.cpp
    windows/WindowThread.cpp
    windows/WindowThreadDialogs.cpp)
  target_link_libraries(tarvenix_commands PUBLIC tarvenix_core PRIVATE CURL::libcurl JPEG::JPEG)
  find_package(Threads REQUIRED)
  target_link_libraries(tarvenix_commands PUBLIC Threads::Threads)
endif()
