#include "CompletionScript.h"

#include <string_view>

namespace rivode::cli {
namespace {

// text as one single-quoted shell word, valid in bash and zsh alike.
std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// A kind as the scripts' one-word encoding: "session", "file:*.key", "listed:global,list",
// "choice:1,3,6". Blanks become commas so that lists of kinds split on blanks.
std::string KindWord(const CompletionHint& hint, const std::vector<std::string>& choices) {
    if (hint.kind == CompletionKind::None && !choices.empty()) {
        std::string word = "choice:";
        for (const std::string& choice : choices) {
            if (choice.find_first_of(" \t,'") == std::string::npos) {
                word += (word.back() == ':' ? "" : ",") + choice;
            }
        }
        return word;
    }
    std::string argument = hint.argument;
    for (char& c : argument) {
        c = c == ' ' ? ',' : c;
    }
    switch (hint.kind) {
        case CompletionKind::None:
            return "none";
        case CompletionKind::File:
            return argument.empty() ? "file" : "file:" + argument;
        case CompletionKind::Directory:
            return "directory";
        case CompletionKind::KeyPath:
            return "keypath";
        case CompletionKind::Session:
            return "session";
        case CompletionKind::Folder:
            return "folder";
        case CompletionKind::Listed:
            return "listed:" + argument;
    }
    return "none";
}

// "name:description" lines for zsh's _describe; a colon inside a name is escaped.
std::string DescribeLine(const std::string& name, const std::string& description) {
    std::string line;
    for (const char c : name) {
        line += c == ':' ? std::string("\\:") : std::string(1, c);
    }
    std::string oneLine = description;
    for (char& c : oneLine) {
        c = c == '\n' ? ' ' : c;
    }
    return line + ":" + oneLine + "\n";
}

// The shell function both scripts share: _rivode_spec PATH sets, for the command PATH ("" for
// rivode itself, else its words joined by blanks), subs (its subcommands), flags (options
// without a value), valued (options with a value as NAME=KIND), positionals (the KIND of each
// argument, a final "+" when the last takes every further one), and descs (subcommand and
// option descriptions for zsh). globals lists the options of rivode itself that choose what
// rivode works on; they are passed on to the rivode commands that list names.
std::string SpecFunction(const CommandEntry& root) {
    std::string text =
        "_rivode_spec() {\n    subs='' flags='' valued='' positionals='' descs=''\n"
        "    case \"$1\" in\n";
    for (const CommandEntry* command : FlattenCommands(root)) {
        std::string subs;
        std::string descs;
        for (const CommandEntry& sub : command->subcommands) {
            subs += (subs.empty() ? "" : " ") + sub.path.back();
            descs += DescribeLine(sub.path.back(), sub.description);
        }
        std::string flags;
        std::string valued;
        for (const OptionEntry& option : command->options) {
            for (const std::string& name : option.names) {
                if (option.takesValue) {
                    valued += (valued.empty() ? "" : " ") + name + "=" +
                              KindWord(option.hint, option.choices);
                } else {
                    flags += (flags.empty() ? "" : " ") + name;
                }
                descs += DescribeLine(name, option.description);
            }
        }
        std::string positionals;
        for (const PositionalEntry& positional : command->positionals) {
            positionals += (positionals.empty() ? "" : " ") +
                           KindWord(positional.hint, positional.choices) +
                           (positional.repeats ? "+" : "");
        }
        text += "    " + ShellQuote(JoinPath(command->path)) +
                ")\n        subs=" + ShellQuote(subs) + "\n        flags=" + ShellQuote(flags) +
                "\n        valued=" + ShellQuote(valued) +
                "\n        positionals=" + ShellQuote(positionals) +
                "\n        descs=" + ShellQuote(descs) + " ;;\n";
    }
    text += "    esac\n}\n\n";
    std::string globals;
    for (std::size_t i = 0; i < root.ownOptionCount; ++i) {
        if (root.options[i].takesValue) {
            for (const std::string& name : root.options[i].names) {
                globals += (globals.empty() ? "" : " ") + name;
            }
        }
    }
    return text + "_rivode_globals=" + ShellQuote(globals) + "\n\n";
}

// The bash driver. The candidates of each kind are "/"-separated paths, which rivode accepts
// like "\" and which need no quoting on a command line.
constexpr std::string_view kBashDriver =
    R"SH(# The kind of option $1 in $valued, printed; false when it takes no value.
_rivode_option_kind() {
    local entry
    for entry in $valued; do
        if [[ ${entry%%=*} == "$1" ]]; then
            printf '%s\n' "${entry#*=}"
            return 0
        fi
    done
    return 1
}

# The kind of positional argument $1 (0 the first) of the command whose description is loaded.
_rivode_positional_kind() {
    local -a kinds=($positionals)
    local count=${#kinds[@]}
    (( count == 0 )) && return 1
    if (( $1 < count )); then
        printf '%s\n' "${kinds[$1]}"
    elif [[ ${kinds[count - 1]} == *+ ]]; then
        printf '%s\n' "${kinds[count - 1]}"
    else
        return 1
    fi
}

# Names rivode lists, as it prints them, for the command line being completed.
_rivode_list() {
    "$_rivode_exe" "${_rivode_chosen[@]}" "$@" 2>/dev/null
}

# Adds to COMPREPLY the values of kind $1 that start with $2 (the word as typed).
_rivode_values() {
    local kind=${1%+} typed=$2 word quote= line dir= candidate folder
    case $typed in
        \'*|\"*) quote=${typed:0:1} word=${typed:1} ;;
        *) word=${typed//\\ / } ;;
    esac
    case $kind in
        file|file:*)
            compopt -o filenames 2>/dev/null
            mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -d -- "$word")
            if [[ $kind == file:* ]]; then
                mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -X "!${kind#file:}" -- "$word")
            else
                mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -- "$word")
            fi
            return ;;
        directory)
            compopt -o filenames 2>/dev/null
            mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -d -- "$word")
            return ;;
        choice:*)
            mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(IFS=, compgen -W "${kind#choice:}" -- "$word")
            return ;;
    esac
    local -a listing
    case $kind in
        listed:*) IFS=, read -r -a listing <<< "${kind#listed:}" ;;
        session|folder|keypath)
            [[ $word == */* ]] && dir=${word%/*}
            if [[ $kind == keypath ]]; then
                listing=(keys "$dir")
            else
                listing=(sessions "$dir")
            fi ;;
        *) return ;;
    esac
    while IFS= read -r line; do
        folder=
        case $kind in
            listed:*) candidate=${line%%$'\t'*} ;;
            keypath) candidate=${dir:+$dir/}$line folder=/ ;;
            *)
                if [[ $line == *\\ ]]; then
                    line=${line%\\} folder=/
                elif [[ $kind == folder ]]; then
                    continue
                fi
                candidate=${dir:+$dir/}$line ;;
        esac
        [[ $candidate == "$word"* ]] || continue
        if [[ -n $folder ]]; then
            compopt -o nospace 2>/dev/null
            candidate+=/
        fi
        if [[ -n $quote ]]; then
            COMPREPLY+=("$quote$candidate")
        else
            COMPREPLY+=("$(printf '%q' "$candidate")")
        fi
    done < <(_rivode_list "${listing[@]}")
}

_rivode() {
    local cur=${COMP_WORDS[COMP_CWORD]} path= word kind expect= global= positional=0 i
    local subs flags valued positionals descs
    local _rivode_exe=${COMP_WORDS[0]}
    local -a _rivode_chosen=()
    [[ $_rivode_exe == */* && -x $_rivode_exe ]] || _rivode_exe=rivode
    COMPREPLY=()
    _rivode_spec ""
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        # bash splits "--config=DIR" into three words at the "=".
        [[ $word == = && -n $expect ]] && continue
        if [[ -n $expect ]]; then
            [[ -n $global ]] && _rivode_chosen+=("$global" "${word/#\~\//$HOME/}")
            expect= global=
            continue
        fi
        case $word in
            --multi) expect= ; positional=-1 ; break ;;
            -*=*)
                [[ " $_rivode_globals " == *" ${word%%=*} "* ]] && _rivode_chosen+=("$word")
                continue ;;
            -*)
                if _rivode_option_kind "$word" >/dev/null; then
                    expect=$word
                    [[ " $_rivode_globals " == *" $word "* ]] && global=$word
                fi
                continue ;;
        esac
        if (( positional == 0 )) && [[ " $subs " == *" $word "* ]]; then
            path=${path:+$path }$word
            _rivode_spec "$path"
            continue
        fi
        (( positional++ ))
    done
    (( positional < 0 )) && return 0
    [[ $cur == = && -n $expect ]] && cur=
    if [[ -n $expect ]]; then
        kind=$(_rivode_option_kind "$expect") && _rivode_values "$kind" "$cur"
        return 0
    fi
    if [[ $cur == -* ]]; then
        local names=$flags entry
        for entry in $valued; do names+=" ${entry%%=*}"; done
        COMPREPLY=($(compgen -W "$names" -- "$cur"))
        return 0
    fi
    if (( positional == 0 )) && [[ -n $subs ]]; then
        COMPREPLY=($(compgen -W "$subs" -- "$cur"))
    fi
    kind=$(_rivode_positional_kind "$positional") && _rivode_values "$kind" "$cur"
    return 0
}

complete -F _rivode rivode
)SH";

// The zsh driver: the same walk over the words, with zsh's own completion functions.
constexpr std::string_view kZshDriver = R"SH(_rivode_option_kind() {
    local entry
    for entry in ${=valued}; do
        if [[ ${entry%%=*} == "$1" ]]; then
            print -r -- "${entry#*=}"
            return 0
        fi
    done
    return 1
}

_rivode_positional_kind() {
    local -a kinds=(${=positionals})
    local count=${#kinds}
    (( count == 0 )) && return 1
    if (( $1 < count )); then
        print -r -- "${kinds[$1 + 1]}"
    elif [[ ${kinds[-1]} == *+ ]]; then
        print -r -- "${kinds[-1]}"
    else
        return 1
    fi
}

_rivode_list() {
    "$_rivode_exe" "${_rivode_chosen[@]}" "$@" 2>/dev/null
}

# Offers the values of kind $1 for the word being completed.
_rivode_values() {
    local kind=${1%+} word=${(Q)PREFIX} dir= line candidate
    local -a listing folders names
    case $kind in
        file) _files; return ;;
        file:*) _files -g "${kind#file:}"; return ;;
        directory) _files -/; return ;;
        choice:*) compadd -- ${(s:,:)kind#choice:}; return ;;
        listed:*) listing=(${(s:,:)kind#listed:}) ;;
        session|folder|keypath)
            [[ $word == */* ]] && dir=${word%/*}
            if [[ $kind == keypath ]]; then listing=(keys "$dir"); else listing=(sessions "$dir"); fi ;;
        *) return 1 ;;
    esac
    while IFS= read -r line; do
        case $kind in
            listed:*) names+=("${line%%$'\t'*}") ;;
            keypath) folders+=("${dir:+$dir/}$line/") ;;
            *)
                if [[ $line == *\\ ]]; then
                    folders+=("${dir:+$dir/}${line%\\}/")
                elif [[ $kind != folder ]]; then
                    names+=("${dir:+$dir/}$line")
                fi ;;
        esac
    done < <(_rivode_list "${listing[@]}")
    (( ${#folders} )) && compadd -S '' -- "${folders[@]}"
    (( ${#names} )) && compadd -- "${names[@]}"
}

_rivode() {
    local path= word kind expect= global= positional=0 i
    local subs flags valued positionals descs
    local _rivode_exe=${words[1]}
    local -a _rivode_chosen
    [[ $_rivode_exe == */* && -x $_rivode_exe ]] || _rivode_exe=rivode
    _rivode_spec ""
    for ((i = 2; i < CURRENT; i++)); do
        word=${(Q)words[i]}
        if [[ -n $expect ]]; then
            [[ -n $global ]] && _rivode_chosen+=("$global" "${~word}")
            expect= global=
            continue
        fi
        case $word in
            --multi) return 0 ;;
            -*=*)
                [[ " $_rivode_globals " == *" ${word%%=*} "* ]] && _rivode_chosen+=("$word")
                continue ;;
            -*)
                if _rivode_option_kind "$word" >/dev/null; then
                    expect=$word
                    [[ " $_rivode_globals " == *" $word "* ]] && global=$word
                fi
                continue ;;
        esac
        if (( positional == 0 )) && [[ " $subs " == *" $word "* ]]; then
            path=${path:+$path }$word
            _rivode_spec "$path"
            continue
        fi
        (( positional++ ))
    done
    if [[ -n $expect ]]; then
        kind=$(_rivode_option_kind "$expect") && _rivode_values "$kind"
        return
    fi
    local -a described
    local line name
    if [[ $PREFIX == -* ]]; then
        for line in ${(f)descs}; do
            name=${line%%:*}
            [[ $name == -* ]] && described+=("$line")
        done
        _describe -t options 'option' described
        return
    fi
    if (( positional == 0 )) && [[ -n $subs ]]; then
        for line in ${(f)descs}; do
            [[ ${line%%:*} != -* ]] && described+=("$line")
        done
        _describe -t commands 'command' described
    fi
    kind=$(_rivode_positional_kind "$positional") && _rivode_values "$kind"
}

if [[ ${zsh_eval_context[-1]} == loadautofunc ]]; then
    _rivode "$@"
else
    compdef _rivode rivode
fi
)SH";

}  // namespace

std::string BashCompletionScript(const CommandEntry& root) {
    return "# bash completion for rivode: install as bash-completion's completions/rivode, or\n"
           "# run: source <(rivode completion bash)\n"
           "# Written by `rivode completion bash` from rivode's own command line.\n\n" +
           SpecFunction(root) + std::string(kBashDriver);
}

std::string ZshCompletionScript(const CommandEntry& root) {
    return "#compdef rivode\n"
           "# zsh completion for rivode: install as _rivode in a folder of $fpath, or run:\n"
           "# source <(rivode completion zsh)\n"
           "# Written by `rivode completion zsh` from rivode's own command line.\n\n" +
           SpecFunction(root) + std::string(kZshDriver);
}

}  // namespace rivode::cli
