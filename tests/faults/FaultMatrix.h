// What the fault tables share: a picture of everything a fault must not
// change (the window's settings as a person sees them, the sticks' folders,
// the slot file), and a child process for the faults that need powers the
// test process should not have: a mount namespace of its own, or root
// without its permission override.
#pragma once

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../ui/MainWindowFixture.h"
#include "config/CodeTables.h"

namespace faults {

using uitest::Bytes;
using uitest::fs::path;
namespace fs = std::filesystem;

// The controls that show a setting, in a fixed order.
inline std::vector<int> SettingControls() {
  std::vector<int> ids;
  for (const auto& row : kBaudRates) ids.push_back(row.radioId);
  for (const auto& row : kDataBits) ids.push_back(row.radioId);
  for (const auto& row : kStopBits) ids.push_back(row.radioId);
  for (const auto& row : kParity) ids.push_back(row.radioId);
  for (int id : {IDC_MODE_RECORD, IDC_MODE_PLAY, IDC_DEVICE_BAUD, IDC_PLAYFILE, IDC_REPEAT_ONCE,
                 IDC_REPEAT_COUNT, IDC_REPEAT_ENDLESS, IDC_REPEAT_VALUE, IDC_DRIVE}) {
    ids.push_back(id);
  }
  return ids;
}

// The settings record and every setting control, one line each, so that a
// difference shows as the line that changed.
inline std::string SettingsPicture(const uitest::MainWindowTest& t) {
  std::ostringstream out;
  const LoggerSettings& s = t.Settings();
  out << "settings baud=" << s.baudCode << " mode=" << int{s.modeCode}
      << " data=" << int{s.dataBitsCode} << " stop=" << int{s.stopBitsCode}
      << " parity=" << int{s.parityCode} << " repeat=" << s.repeatCount << "\n";
  for (const int id : SettingControls()) {
    const testseam::ControlState state = t.State(id);
    out << id << (state.enabled ? " enabled" : " disabled") << " check=" << state.check << " '"
        << state.text << "'\n";
  }
  return out.str();
}

// What a test can see after a gesture. Only plain data, so that a child
// process can hand it back through a pipe.
struct Observation {
  std::vector<testseam::MessageBoxCall> boxes;
  std::map<std::string, std::set<std::string>> folders;  // every folder of the sticks' root
  bool slotExists = false;
  Bytes slot;         // the slot file's bytes
  unsigned mode = 0;  // and its permission bits
  std::string settings;
};

// Looks at the folders under root (the fake sticks), the slot file at
// slotFile, and the window.
inline Observation Observe(const uitest::MainWindowTest& t, const path& slotFile) {
  Observation o;
  o.boxes = t.boxes.Calls();
  std::error_code ignored;
  for (const auto& folder : fs::directory_iterator(t.root, ignored)) {
    auto& names = o.folders[folder.path().filename().string()];
    for (const auto& entry : fs::directory_iterator(folder.path(), ignored)) {
      names.insert(entry.path().filename().string());
    }
  }
  struct stat st {};
  o.slotExists = ::lstat(slotFile.c_str(), &st) == 0;
  if (o.slotExists && S_ISREG(st.st_mode)) o.slot = uitest::ReadFile(slotFile);
  o.mode = st.st_mode & 07777;
  o.settings = SettingsPicture(t);
  return o;
}

// The message boxes a gesture showed: none when message is empty, else
// exactly that error box.
inline void ExpectErrorBox(const Observation& after, const std::string& message) {
  if (message.empty()) {
    EXPECT_TRUE(after.boxes.empty());
    return;
  }
  ASSERT_EQ(after.boxes.size(), 1u);
  EXPECT_EQ(after.boxes[0].text, message);
  EXPECT_EQ(after.boxes[0].caption, "Fehler");
  EXPECT_EQ(after.boxes[0].style, MB_ICONERROR);
}

// A flat encoding of observations for the pipe from a child process.
class Wire {
 public:
  void Put(const std::string& text) {
    m_out += std::to_string(text.size()) + ":" + text;
  }
  void Put(long value) { Put(std::to_string(value)); }
  void Put(const Observation& o) {
    Put(static_cast<long>(o.boxes.size()));
    for (const auto& box : o.boxes) {
      Put(box.text);
      Put(box.caption);
      Put(static_cast<long>(box.style));
    }
    Put(static_cast<long>(o.folders.size()));
    for (const auto& [name, entries] : o.folders) {
      Put(name);
      Put(static_cast<long>(entries.size()));
      for (const auto& entry : entries) Put(entry);
    }
    Put(o.slotExists ? 1 : 0);
    Put(std::string(o.slot.begin(), o.slot.end()));
    Put(static_cast<long>(o.mode));
    Put(o.settings);
  }
  const std::string& Text() const { return m_out; }

  explicit Wire(std::string in = {}) : m_in(std::move(in)) {}
  std::string GetText() {
    const std::size_t colon = m_in.find(':', m_pos);
    if (colon == std::string::npos) throw std::runtime_error("truncated observation");
    const std::size_t size = std::stoul(m_in.substr(m_pos, colon - m_pos));
    if (colon + 1 + size > m_in.size()) throw std::runtime_error("truncated observation");
    std::string text = m_in.substr(colon + 1, size);
    m_pos = colon + 1 + size;
    return text;
  }
  long GetNumber() { return std::stol(GetText()); }
  Observation GetObservation() {
    Observation o;
    for (long n = GetNumber(); n > 0; --n) {
      testseam::MessageBoxCall box;
      box.text = GetText();
      box.caption = GetText();
      box.style = static_cast<UINT>(GetNumber());
      o.boxes.push_back(box);
    }
    for (long n = GetNumber(); n > 0; --n) {
      auto& entries = o.folders[GetText()];
      for (long m = GetNumber(); m > 0; --m) entries.insert(GetText());
    }
    o.slotExists = GetNumber() != 0;
    const std::string slot = GetText();
    o.slot.assign(slot.begin(), slot.end());
    o.mode = static_cast<unsigned>(GetNumber());
    o.settings = GetText();
    return o;
  }

 private:
  std::string m_out;
  std::string m_in;
  std::size_t m_pos = 0;
};

// What a child process may be given before it runs its part.
enum class Powers {
  mounts,           // root of a user and mount namespace of its own: may mount tmpfs sticks
  noDacOverride,    // as the test runs, but root loses its power to ignore permission bits
};

// Thrown in the child when the machine refuses what the case needs.
struct Refused {
  std::string why;
};

inline bool WriteProcFile(const char* file, const std::string& text) {
  const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
  const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
  if (fd >= 0) ::close(fd);
  return ok;
}

inline void EnterPowers(Powers powers) {
  if (powers == Powers::mounts) {
    const std::string uid = std::to_string(::getuid()), gid = std::to_string(::getgid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) throw Refused{"unshare"};
    WriteProcFile("/proc/self/setgroups", "deny");
    if (!WriteProcFile("/proc/self/uid_map", "0 " + uid + " 1") ||
        !WriteProcFile("/proc/self/gid_map", "0 " + gid + " 1")) {
      throw Refused{"uid_map"};
    }
    // Nothing mounted here may reach the test process.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      throw Refused{"private mounts"};
    }
    return;
  }
  // Root writes into any folder; without CAP_DAC_OVERRIDE it obeys the
  // permission bits like everyone else. Others have nothing to drop.
  if (::geteuid() != 0) return;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) throw Refused{"capget"};
  data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  if (::syscall(SYS_capset, &header, data) != 0) throw Refused{"capset"};
}

// Mounts a fresh tmpfs on folder (only with Powers::mounts).
inline void MountTmpfs(const path& folder, const char* options = "size=1m") {
  if (::mount("stick", folder.c_str(), "tmpfs", 0, options) != 0) throw Refused{"mount tmpfs"};
}

inline void RemountReadOnly(const path& folder) {
  if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
    throw Refused{"remount read-only"};
  }
}

// Runs part in a child process given powers and hands back the
// observations it returns; nullopt, with the reason in *refused, when the
// machine does not grant the powers. The child shares the window the test
// opened (a copy of the single-threaded process) and ends without running
// any destructor, so the test cleans up as usual.
inline std::optional<std::vector<Observation>> RunInChild(
    Powers powers, const std::function<std::vector<Observation>()>& part, std::string* refused) {
  constexpr int kRefused = 77;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe: " << std::strerror(errno);
    return std::nullopt;
  }
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    ADD_FAILURE() << "fork: " << std::strerror(errno);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(fds[0]);
    ::alarm(30);  // a fault that hangs ends the child, and the test fails
    Wire wire;
    int status = 0;
    try {
      EnterPowers(powers);
      const std::vector<Observation> seen = part();
      wire.Put(static_cast<long>(seen.size()));
      for (const Observation& o : seen) wire.Put(o);
    } catch (const Refused& r) {
      wire = Wire();
      wire.Put(r.why + ": " + std::strerror(errno));
      status = kRefused;
    } catch (const std::exception& e) {
      wire = Wire();
      wire.Put(e.what());
      status = 1;
    }
    const std::string& text = wire.Text();
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
      if (n <= 0) ::_exit(2);
      done += static_cast<std::size_t>(n);
    }
    ::_exit(status);
  }
  ::close(fds[1]);
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  Wire wire(text);
  if (WIFEXITED(status) && WEXITSTATUS(status) == kRefused) {
    *refused = wire.GetText();
    return std::nullopt;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    ADD_FAILURE() << "the child process failed (status " << status << ")"
                  << (text.empty() ? "" : ": " + wire.GetText());
    return std::nullopt;
  }
  std::vector<Observation> seen;
  for (long n = wire.GetNumber(); n > 0; --n) seen.push_back(wire.GetObservation());
  return seen;
}

// A guard of any type (ScopedFault, ScopedTransferLimit, ...) kept alive
// for the gesture under test; made for the test that runs the gesture.
using Guard = std::shared_ptr<void>;
using GuardMaker = std::function<Guard(uitest::MainWindowTest&)>;

template <typename T, typename... Args>
GuardMaker Arm(Args... args) {
  return [=](uitest::MainWindowTest&) { return std::make_shared<T>(args...); };
}

// Two guards at once.
inline GuardMaker Both(GuardMaker first, GuardMaker second) {
  return [=](uitest::MainWindowTest& t) {
    return std::make_shared<std::pair<Guard, Guard>>(first(t), second(t));
  };
}

}  // namespace faults
