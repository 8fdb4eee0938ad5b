# shellcheck shell=bash
# Sourced by the scripts that run a session bus of their own (dbus-run-session --config-file).

# private_bus_config FILE LISTEN_DIR [SERVICE_DIR]: a bus that activates nothing of the
# machine's; with a service directory, only what is in it.
private_bus_config() {
    local services=""
    [[ -n ${3:-} ]] && services="<servicedir>$3</servicedir>"
    cat >"$1" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$2</listen>
  <auth>EXTERNAL</auth>
  $services
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
}
