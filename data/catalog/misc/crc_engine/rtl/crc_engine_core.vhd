-- CRC core of the crc_engine IP. Generics and ports follow the component file; the
-- generated wrapper instantiates this entity.
--
-- A linear-feedback shift register over CRC_WIDTH bits that takes DATA_WIDTH bits a
-- clock, most significant bit first. The register starts at all ones and crc shows it
-- as it is, neither reflected nor inverted: with POLYNOMIAL 04C11DB7 the result is
-- CRC-32/MPEG-2, with 1021 at 16 bits CRC-16/CCITT-FALSE.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity crc_engine_core is
    generic (
        -- 8, 16 or 32
        CRC_WIDTH  : positive range 8 to 32 := 32;
        -- hexadecimal digits, without the implicit top term (04C11DB7 for x^32 + x^26
        -- + ... + 1); it must fit in CRC_WIDTH bits
        POLYNOMIAL : string                 := "04C11DB7";
        DATA_WIDTH : positive range 1 to 64 := 8
    );
    port (
        clk        : in  std_logic;
        -- starts a new message: the register returns to all ones, and data presented
        -- in the same clock is the new message's first
        init       : in  std_logic;
        data_valid : in  std_logic;
        data       : in  std_logic_vector(DATA_WIDTH - 1 downto 0);
        crc        : out std_logic_vector(CRC_WIDTH - 1 downto 0)
    );
end entity;

architecture rtl of crc_engine_core is
    -- The polynomial's low CRC_WIDTH bits, as the Verilog core takes them: a narrower CRC
    -- chosen with the default polynomial still elaborates in both languages.
    function hex_value(text : string) return std_logic_vector is
        variable value : unsigned(CRC_WIDTH - 1 downto 0) := (others => '0');
        variable digit : natural range 0 to 15;
    begin
        assert text'length > 0 report "crc_engine_core: POLYNOMIAL is empty" severity failure;
        for i in text'range loop
            case text(i) is
                when '0' to '9' => digit := character'pos(text(i)) - character'pos('0');
                when 'a' to 'f' => digit := character'pos(text(i)) - character'pos('a') + 10;
                when 'A' to 'F' => digit := character'pos(text(i)) - character'pos('A') + 10;
                when others =>
                    report "crc_engine_core: POLYNOMIAL must be hexadecimal digits, not " & text
                        severity failure;
                    digit := 0;
            end case;
            value := shift_left(value, 4) or to_unsigned(digit, CRC_WIDTH);
        end loop;
        return std_logic_vector(value);
    end function;

    constant POLY : std_logic_vector(CRC_WIDTH - 1 downto 0) := hex_value(POLYNOMIAL);
    constant SEED : std_logic_vector(CRC_WIDTH - 1 downto 0) := (others => '1');

    -- One step of the register per data bit; the loop unrolls into the XOR network.
    function next_crc(state : std_logic_vector(CRC_WIDTH - 1 downto 0);
                      bits  : std_logic_vector(DATA_WIDTH - 1 downto 0))
        return std_logic_vector is
        variable r : std_logic_vector(CRC_WIDTH - 1 downto 0) := state;
    begin
        for i in DATA_WIDTH - 1 downto 0 loop
            if (r(CRC_WIDTH - 1) xor bits(i)) = '1' then
                r := (r(CRC_WIDTH - 2 downto 0) & '0') xor POLY;
            else
                r := r(CRC_WIDTH - 2 downto 0) & '0';
            end if;
        end loop;
        return r;
    end function;

    signal lfsr : std_logic_vector(CRC_WIDTH - 1 downto 0) := SEED;
begin
    assert CRC_WIDTH = 8 or CRC_WIDTH = 16 or CRC_WIDTH = 32
        report "crc_engine_core: CRC_WIDTH must be 8, 16 or 32" severity failure;

    process (clk)
    begin
        if rising_edge(clk) then
            if data_valid = '1' then
                if init = '1' then
                    lfsr <= next_crc(SEED, data);
                else
                    lfsr <= next_crc(lfsr, data);
                end if;
            elsif init = '1' then
                lfsr <= SEED;
            end if;
        end if;
    end process;

    crc <= lfsr;
end architecture;
