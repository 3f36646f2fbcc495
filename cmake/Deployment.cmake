# Deployment values built into the client; defaults point at a server on this machine.
set(KESTRO_SERVER_HOST "127.0.0.1" CACHE STRING "Application server host")
set(KESTRO_SERVER_PORT "9090" CACHE STRING "Application server port")
set(KESTRO_WEB_ADDRESS "http://127.0.0.1:9090/" CACHE STRING "Distributor web site base address (trailing slash)")
set(KESTRO_PAYMENT_HOST "http://127.0.0.1:9090" CACHE STRING "Virtual POS payment host")
set(KESTRO_DOWNLOAD_HOST "http://127.0.0.1:9090" CACHE STRING "Program update download host")
set(KESTRO_ECHO_URL "http://127.0.0.1:9090/ip" CACHE STRING "External address echo service")
# Drive serials that several machines share, mapped to one identity: "SERIAL1;SERIAL2" and the identity.
set(KESTRO_SHARED_SERIALS "" CACHE STRING "Semicolon-separated drive serials that map to the shared identity")
set(KESTRO_SHARED_IDENTITY "" CACHE STRING "Identity that the shared drive serials map to")
set(KESTRO_CLIENT_VERSION "2" CACHE STRING "The client's own program version number")

string(REPLACE ";" "\", \"" _serials "${KESTRO_SHARED_SERIALS}")
if(KESTRO_SHARED_SERIALS)
  set(KESTRO_SHARED_SERIALS_INIT "\"${_serials}\"")
else()
  set(KESTRO_SHARED_SERIALS_INIT "")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/deployment.h.in ${CMAKE_BINARY_DIR}/generated/deployment.h @ONLY)
