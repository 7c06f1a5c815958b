// The `serve` subcommand of z480-panel as the command line sees it
// (host/serve/serve.h has the server). A build without the server (the Windows
// host) has the command all the same and says that it serves nothing.
#pragma once

#include <ostream>
#include <string>

namespace z480 {

struct ServeOptions {
  std::string module_path;
  int port = 8480;
  std::string panel_file;   // empty: the panel the host carries
  std::string script_file;  // empty: none
  std::string scenario = "cold";
};

// Runs the server until interrupted; the exit code.
int serve(const ServeOptions &options, std::ostream &out, std::ostream &err);

}  // namespace z480
