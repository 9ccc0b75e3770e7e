-- Single-port block RAM core of the block_ram_sp IP. Generics and ports follow the
-- component file; the generated wrapper instantiates this entity.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;
use std.textio.all;

entity block_ram_sp_core is
    generic (
        DATA_WIDTH      : positive range 1 to 72 := 18;
        DEPTH           : positive range 512 to 16384 := 1024;
        -- what dout shows after a write: "write_first" the new word, "read_first" the
        -- word it replaced, "no_change" what it showed before
        WRITE_MODE      : string := "write_first";
        -- 1: one more register after the memory, so dout comes two clocks after addr
        OUTPUT_REGISTER : natural range 0 to 1 := 1;
        -- initial contents, one hexadecimal word a line; empty for zeros
        INIT_FILE       : string := ""
    );
    port (
        clk  : in  std_logic;
        en   : in  std_logic;
        we   : in  std_logic;
        addr : in  std_logic_vector(integer(ceil(log2(real(DEPTH)))) - 1 downto 0);
        din  : in  std_logic_vector(DATA_WIDTH - 1 downto 0);
        dout : out std_logic_vector(DATA_WIDTH - 1 downto 0)
    );
end entity;

architecture rtl of block_ram_sp_core is
    type mem_t is array (0 to DEPTH - 1) of std_logic_vector(DATA_WIDTH - 1 downto 0);

    -- One hexadecimal word a line, as many digits as the line holds (like $readmemh):
    -- digits shift in from the right and the word keeps the low DATA_WIDTH bits.
    impure function load(name : string) return mem_t is
        file f        : text;
        variable l    : line;
        variable word : unsigned(DATA_WIDTH + 3 downto 0);
        variable d    : integer;
        variable m    : mem_t := (others => (others => '0'));
    begin
        if name'length = 0 then
            return m;
        end if;
        file_open(f, name, read_mode);
        for i in m'range loop
            exit when endfile(f);
            readline(f, l);
            word := (others => '0');
            for c in l'range loop
                case l(c) is
                    when '0' to '9' => d := character'pos(l(c)) - character'pos('0');
                    when 'a' to 'f' => d := character'pos(l(c)) - character'pos('a') + 10;
                    when 'A' to 'F' => d := character'pos(l(c)) - character'pos('A') + 10;
                    when others     => d := -1;
                end case;
                if d >= 0 then
                    word := shift_left(word, 4) + to_unsigned(d, word'length);
                end if;
            end loop;
            m(i) := std_logic_vector(word(DATA_WIDTH - 1 downto 0));
            deallocate(l);
        end loop;
        file_close(f);
        return m;
    end function;

    signal mem     : mem_t := load(INIT_FILE);
    signal ram_out : std_logic_vector(DATA_WIDTH - 1 downto 0) := (others => '0');
    signal out_reg : std_logic_vector(DATA_WIDTH - 1 downto 0) := (others => '0');
begin
    assert WRITE_MODE = "write_first" or WRITE_MODE = "read_first" or WRITE_MODE = "no_change"
        report "block_ram_sp_core: WRITE_MODE must be write_first, read_first or no_change"
        severity failure;

    process (clk)
    begin
        if rising_edge(clk) then
            if en = '1' then
                if we = '1' then
                    mem(to_integer(unsigned(addr))) <= din;
                    if WRITE_MODE = "write_first" then
                        ram_out <= din;
                    elsif WRITE_MODE = "read_first" then
                        ram_out <= mem(to_integer(unsigned(addr)));
                    end if;
                else
                    ram_out <= mem(to_integer(unsigned(addr)));
                end if;
            end if;
            out_reg <= ram_out;
        end if;
    end process;

    dout <= out_reg when OUTPUT_REGISTER /= 0 else ram_out;
end architecture;
