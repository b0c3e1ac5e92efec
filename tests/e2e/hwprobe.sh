#!/usr/bin/env bash
# The program's PCI scans and BIOS read through the real roduru.dll: hwprobe.exe (NT-family
# osCode, so every port and memory access goes through the library) on each demo board must
# find exactly the devices the board describes and read its BIOS text; without a board it
# finds nothing. The processor vendor comes from the real CPU through the Win32 adapter.
. "$(dirname "$0")/e2e_lib.sh"

e2e_begin
probe_dir=$TOVA_E2E_WORK/probe
mkdir -p "$probe_dir"
cp "$E2E_TOOLS/hwprobe.exe" "$probe_dir/"
cp "$(e2e_find_program roduru.dll)" "$probe_dir/" || e2e_abort "no roduru.dll"
tova_drive h "$probe_dir"

# hwprobe ARGS...: in the prefix, output without carriage returns, saved as an artifact.
hwprobe() {
    tova_wine 'H:\hwprobe.exe' "$@" | tr -d '\r'
}

absent=0x12345678
for board in "$TOVA_SOURCE_DIR"/demo/boards/*.board; do
    name=$(basename "$board" .board)
    # A ROM image from a file would need the file beside the description; not staged here.
    if grep -q '^bios .*image=' "$board"; then continue; fi
    cp "$board" "$probe_dir/roduru.board"

    # Every function of the board: its id, its subsystem and its class dword.
    queries=("$absent")
    declare -A expect=()
    expect[$absent]=missing
    while read -r _ location rest; do
        id=$(printf '%s\n' "$rest" | grep -o 'id=0x[0-9A-Fa-f]*' | cut -d= -f2)
        class=$(printf '%s\n' "$rest" | grep -o 'class=0x[0-9A-Fa-f]*' | cut -d= -f2)
        subsys=$(printf '%s\n' "$rest" | grep -o 'subsys=0x[0-9A-Fa-f]*' | cut -d= -f2)
        bus=$((16#${location%%:*}))
        [ -n "$id" ] || continue
        class=${class:-0x00000000}
        if [ "$(grep -c "id=$id" "$board")" = 1 ]; then
            expect[$id]=$(printf 'found class=0x%04X' $(((class >> 16) & 0xFFFF)))
        else
            expect[$id]=found
        fi
        queries+=("$id")
        if [ -n "$subsys" ]; then
            queries+=("$id:$subsys" "$id:$(printf '0x%08X' $((subsys ^ 0x10000)))")
            expect[$id:$subsys]=${expect[$id]}
            expect[$id:$(printf '0x%08X' $((subsys ^ 0x10000)))]=missing
        fi
        # The revision scan covers buses 0 to 2 only.
        revision=$(printf '0x%02X' $((class & 0xFF)))
        queries+=("$id@$revision")
        if [ "$bus" -le 2 ]; then expect[$id@$revision]=found; else expect[$id@$revision]=missing; fi
    done < <(grep -E '^pci ' "$board")

    hwprobe "${queries[@]}" >"$TOVA_E2E_ARTIFACTS/$name.txt" 2>&1
    for query in "${queries[@]}"; do
        got=$(grep -F "pci $query " "$TOVA_E2E_ARTIFACTS/$name.txt" | sed -n 1p | cut -d' ' -f3-)
        e2e_expect_eq "$name: $query" "${expect[$query]}" "$got"
    done
    unset expect

    text=$(grep -E '^bios ' "$board" | grep -o 'text="[^"]*"' | sed 's/^text="//; s/"$//')
    e2e_expect_eq "$name: BIOS text through the mapped ROM" "$text" \
        "$(grep '^bios' "$TOVA_E2E_ARTIFACTS/$name.txt" | sed 's/^bios *//')"
done

# No board description: every read gives all ones, nothing is found, the ROM is empty.
rm -f "$probe_dir/roduru.board"
hwprobe 0x24C58086 0x25608086 >"$TOVA_E2E_ARTIFACTS/no-board.txt" 2>&1
e2e_expect_eq "no board: nothing is found" 2 "$(grep -c ' missing$' "$TOVA_E2E_ARTIFACTS/no-board.txt")"
e2e_expect_eq "no board: the BIOS text is empty" "bios" "$(grep '^bios' "$TOVA_E2E_ARTIFACTS/no-board.txt" | sed 's/ *$//')"

# The identification instruction on this machine's processor, through the inline assembly.
host_vendor=$(grep -m1 '^vendor_id' /proc/cpuinfo | sed 's/.*: *//')
e2e_expect_eq "the processor vendor matches the host's" "cpu $host_vendor" \
    "$(grep '^cpu' "$TOVA_E2E_ARTIFACTS/no-board.txt")"
e2e_end
