# Shared build settings: warnings, sanitizers, precompiled Qt headers, and helpers that keep
# every library, test and benchmark built the same way.

add_compile_options(-Wall -Wextra)

# A compiler cache when one is installed: CI and repeated builds of a clean checkout reuse objects.
# The sloppiness and -fpch-preprocess let it cache sources built with the precompiled header.
find_program(NUVELA_CCACHE ccache)
if(NUVELA_CCACHE AND NOT NUVELA_FUZZ)
  set(launcher ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${NUVELA_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-fpch-preprocess)
  endif()
endif()
if(NUVELA_WERROR)
  add_compile_options(-Werror)
endif()
if(NUVELA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(NUVELA_FUZZ)
  # Coverage for libFuzzer in every library the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds the listed sub-folders that exist, so a subsystem's folder can land on its own.
# NUVELA_SKIP lists folders (relative to the source root) to leave out of a private build.
set(NUVELA_SKIP "" CACHE STRING "Folders to leave out of this build, e.g. src/shell/common/rtf")
macro(nuvela_subdirs)
  foreach(dir ${ARGN})
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt AND NOT rel IN_LIST NUVELA_SKIP)
      add_subdirectory(${dir})
    endif()
  endforeach()
endmacro()

# One precompiled header for every target: Qt headers are most of the compile time.
add_library(nuvela_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/pch_anchor.cpp)
target_link_libraries(nuvela_pch PUBLIC Qt6::Core Qt6::Gui Qt6::Sql)
target_precompile_headers(nuvela_pch PUBLIC
  <QtCore/QString> <QtCore/QStringList> <QtCore/QList> <QtCore/QHash> <QtCore/QMap>
  <QtCore/QVariant> <QtCore/QDateTime> <QtCore/QDir> <QtCore/QFileInfo> <QtCore/QObject>
  <QtGui/QImage> <QtSql/QSqlDatabase> <QtSql/QSqlQuery> <memory> <vector> <string>)

# Reuses the shared precompiled header; the target gets the same Qt defines it was made with.
function(nuvela_use_pch name)
  target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Sql)
  target_precompile_headers(${name} REUSE_FROM nuvela_pch)
endfunction()

# nuvela_library(name [WIDGETS] SOURCES ... LIBS ...): a static library of one folder.
# Libraries without WIDGETS must not link Qt Widgets, directly or through a dependency: logic
# stays testable without windows. nuvela_check_cores() enforces it once every target exists.
function(nuvela_library name)
  cmake_parse_arguments(A "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  nuvela_use_pch(${name})
  if(NOT A_WIDGETS)
    set_property(GLOBAL APPEND PROPERTY NUVELA_CORE_LIBRARIES ${name})
  endif()
endfunction()

# Collects into out the targets that target links, directly or through its dependencies.
function(nuvela_linked_targets target out)
  set(seen ${${out}})
  get_target_property(type ${target} TYPE)
  set(libs "")
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(direct ${target} LINK_LIBRARIES)
    if(direct)
      list(APPEND libs ${direct})
    endif()
  endif()
  get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
  if(interface)
    list(APPEND libs ${interface})
  endif()
  foreach(lib ${libs})
    # Generator expressions such as $<LINK_ONLY:Qt6::Gui> name their target last.
    string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" lib "${lib}")
    if(TARGET ${lib} AND NOT lib IN_LIST seen)
      get_target_property(aliased ${lib} ALIASED_TARGET)
      if(aliased)
        set(lib ${aliased})
      endif()
      list(APPEND seen ${lib})
      nuvela_linked_targets(${lib} seen)
    endif()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configure step when a core library links Qt Widgets.
function(nuvela_check_cores)
  get_property(cores GLOBAL PROPERTY NUVELA_CORE_LIBRARIES)
  foreach(core ${cores})
    set(linked "")
    nuvela_linked_targets(${core} linked)
    foreach(widgets Qt6::Widgets Qt::Widgets)
      if(widgets IN_LIST linked)
        message(FATAL_ERROR "${core} is a core library and must not link Qt Widgets "
                            "(it does through: ${linked})")
      endif()
    endforeach()
  endforeach()
endfunction()

# nuvela_test(tst_Name [SOURCES ...] LIBS ...): a QtTest program run headless by CTest with its
# own environment; its source is tst_Name.cpp unless SOURCES says otherwise. Tests make their own
# temporary program and user-files folders.
function(nuvela_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT A_SOURCES)
    set(A_SOURCES ${name}.cpp)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} Qt6::Test)
  nuvela_use_pch(${name})
  target_compile_definitions(${name} PRIVATE NUVELA_SAMPLES_DIR="${NUVELA_SAMPLES_DIR}"
                                             NUVELA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;UBSAN_OPTIONS=print_stacktrace=1"
    TIMEOUT 300)
endfunction()

# nuvela_bench(name SOURCES ... LIBS ...): a benchmark program in <build>/bin; it prints figures,
# never asserts.
function(nuvela_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  nuvela_use_pch(${name})
endfunction()

# nuvela_fuzz(name SOURCES ... LIBS ...): a libFuzzer target (clang only, NUVELA_FUZZ=ON).
function(nuvela_fuzz name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
