# The chat window's commands, screenshot and file uploads and the upload
# transport: no Qt, so they are built without the GUI too and tested with
# fakes and no display. Included from src/.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Static builds of Debian's sources, made by scripts/win32-deps.
  if(NOT EXISTS "${TARVENIX_WIN32_DEPS}/key")
    message(FATAL_ERROR "No Windows libraries in '${TARVENIX_WIN32_DEPS}': run scripts/win32-deps first.")
  endif()
  set(OPENSSL_USE_STATIC_LIBS TRUE)
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
    windows/JpegEncoder.cpp
    windows/ThreadHttpPost.cpp
    windows/UploadTransport.cpp)
  target_link_libraries(tarvenix_commands PUBLIC tarvenix_core PRIVATE CURL::libcurl JPEG::JPEG)
  find_package(Threads REQUIRED)
  target_link_libraries(tarvenix_commands PUBLIC Threads::Threads)
endif()
