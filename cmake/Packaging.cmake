# The program's folder as a relocatable .tar.gz and as a Debian package that
# installs it under /opt/tarvenix. The Debian package's dependencies are the
# shared libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_PACKAGE_NAME tarvenix)
set(CPACK_PACKAGE_VENDOR "Tarvenix")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Launcher of the Tarvenix helpdesk chat")
set(CPACK_PACKAGE_DESCRIPTION
  "Opens the Tarvenix helpdesk chat, or a service page, in a window of its own with an embedded browser, as an ERP starts it, and acts on the chat's commands: screenshot and file upload, remote assistance, closing and handing over to the default browser.")
set(CPACK_PACKAGE_CONTACT "Tarvenix <suporte@tarvenix.com.br>")
set(CPACK_GENERATOR "TGZ;DEB")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The remote assistance of the chat uses it on Linux.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x11vnc")
# Each generator's own place: the archive is relocatable, the Debian package
# lands in /opt/tarvenix.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagePlaces.cmake)
include(CPack)
