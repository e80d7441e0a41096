# bash completion for quarnelvisk-flash
_quarnelvisk_flash() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        --image|--json)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --image-format)
            COMPREPLY=($(compgen -W "raw hex srec elf" -- "$cur"))
            return ;;
        --probe-timeout|--base)
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--list --station --probe-timeout --image --image-format --base --json
            --no-low-latency --help --version" -- "$cur"))
    else
        # The serial ports as the flasher lists them: the name is the first word.
        COMPREPLY=($(compgen -W "$(quarnelvisk-flash --list 2>/dev/null | cut -d' ' -f1)" -- "$cur"))
    fi
}
complete -F _quarnelvisk_flash quarnelvisk-flash
