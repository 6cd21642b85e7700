# Every library the layers use comes from Debian packages (scripts/setup.sh).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
pkg_check_modules(SDL_TTF REQUIRED IMPORTED_TARGET SDL_ttf)
pkg_check_modules(LUA REQUIRED IMPORTED_TARGET lua5.4)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
pkg_check_modules(VORBIS REQUIRED IMPORTED_TARGET vorbisfile vorbis ogg)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
# Only the tests and the asset generator encode Ogg Vorbis.
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(JPEG REQUIRED)

# The layers compile against SDL's headers only; each program picks how SDL
# is linked.
add_library(sdl_headers INTERFACE)
target_include_directories(sdl_headers INTERFACE ${SDL_INCLUDE_DIRS} ${SDL_TTF_INCLUDE_DIRS})
target_compile_options(sdl_headers INTERFACE ${SDL_CFLAGS_OTHER})

add_library(gobstrel_deps INTERFACE)
target_link_libraries(gobstrel_deps INTERFACE
    sdl_headers PkgConfig::LUA PkgConfig::MINIZIP PkgConfig::VORBIS
    PkgConfig::PNG PkgConfig::ZLIB JPEG::JPEG Threads::Threads m dl)

add_library(sdl_shared INTERFACE)
target_link_libraries(sdl_shared INTERFACE PkgConfig::SDL_TTF PkgConfig::SDL)

# SDL and SDL_ttf linked into the program; what they need from the system
# (X11, sound servers, FreeType) stays dynamic.
find_library(SDL_STATIC_LIB NAMES libSDL.a REQUIRED)
find_library(SDL_TTF_STATIC_LIB NAMES libSDL_ttf.a REQUIRED)
execute_process(COMMAND sdl-config --static-libs OUTPUT_VARIABLE SDL_STATIC_FLAGS
                OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(SDL_STATIC_FLAGS UNIX_COMMAND "${SDL_STATIC_FLAGS}")
list(FILTER SDL_STATIC_FLAGS EXCLUDE REGEX "^-lSDL$")
add_library(sdl_static INTERFACE)
target_link_libraries(sdl_static INTERFACE
    ${SDL_TTF_STATIC_LIB} ${SDL_STATIC_LIB} PkgConfig::FREETYPE ${SDL_STATIC_FLAGS})
