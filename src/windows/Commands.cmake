# The chat window's commands, screenshot and file uploads and the upload
# transport: no Qt, so they are built without the GUI too and tested with
# fakes and no display. Included from src/.
# The program cannot do without them; builds without the program (the
# sanitizer, fuzzing and cross builds) leave the commands out when missing.
if(TARVENIX_BUILD_GUI)
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
    windows/CommandThread.cpp
    windows/JpegEncoder.cpp
    windows/ThreadHttpPost.cpp
    windows/UploadTransport.cpp
    windows/WindowThread.cpp)
  target_link_libraries(tarvenix_commands PUBLIC tarvenix_core PRIVATE CURL::libcurl JPEG::JPEG)
  find_package(Threads REQUIRED)
  target_link_libraries(tarvenix_commands PUBLIC Threads::Threads)
endif()
