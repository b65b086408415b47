# The programs as the release archives ship them (GM_DIST): no path of the
# machine that built them inside, symbols stripped, and on Linux only the
# libraries a desktop has installed as run-time dependencies.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  message(FATAL_ERROR "GM_DIST builds with g++ (or the mingw-w64 g++) only")
endif()

# __FILE__ and any other recorded path relative to the checkout or the build.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_link_options(-s)

if(WIN32)
  # No link time in the PE header: one commit, one executable.
  add_link_options(-Wl,--no-insert-timestamp)
else()
  # Every library the programs need comes with a desktop distribution, so
  # none is linked in. Linking libstdc++ and libgcc in would tie the programs
  # to a newer glibc instead (2.36: arc4random from std::random_device,
  # _dl_find_object from the unwinder), while the shared libstdc++ asks only
  # for GLIBCXX_3.4.22, which every system with glibc 2.34 has. --as-needed
  # records only the libraries the programs call, not all that GTK's
  # pkg-config names.
  add_link_options(-Wl,--as-needed)
endif()
