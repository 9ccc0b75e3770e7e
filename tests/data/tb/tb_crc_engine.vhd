-- Runs the message "123456789" through a crc_engine_core DATA_WIDTH bits a clock and
-- checks the result against EXPECTED, the published check value of the CRC the
-- generics make. The message starts with init in the same clock as its first bits,
-- after a word of another message, and has idle clocks between its words.
-- Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_crc_engine is
    generic (
        CRC_WIDTH  : positive := 32;
        POLYNOMIAL : string   := "04C11DB7";
        -- divides 72, the message's length in bits
        DATA_WIDTH : positive := 8;
        EXPECTED   : natural  := 16#0376E6E7#
    );
end entity;

architecture sim of tb_crc_engine is
    constant MESSAGE : std_logic_vector(71 downto 0) := x"313233343536373839";
    signal clk        : std_logic := '0';
    signal init       : std_logic := '0';
    signal data_valid : std_logic := '0';
    signal data       : std_logic_vector(DATA_WIDTH - 1 downto 0) := (others => '0');
    signal crc        : std_logic_vector(CRC_WIDTH - 1 downto 0);
    signal done       : boolean := false;
begin
    dut : entity work.crc_engine_core
        generic map (CRC_WIDTH => CRC_WIDTH, POLYNOMIAL => POLYNOMIAL, DATA_WIDTH => DATA_WIDTH)
        port map (clk => clk, init => init, data_valid => data_valid, data => data, crc => crc);

    clk <= not clk after 5 ns when not done;

    process
        variable errors : natural := 0;
    begin
        wait until falling_edge(clk);
        init <= '1';
        wait until falling_edge(clk);
        init <= '0';
        if crc /= (crc'range => '1') then
            errors := errors + 1;
        end if;
        data_valid <= '1';
        data       <= (others => '1');
        wait until falling_edge(clk);
        for n in 0 to 72 / DATA_WIDTH - 1 loop
            init       <= '1' when n = 0 else '0';
            data_valid <= '1';
            data       <= MESSAGE(71 - n * DATA_WIDTH downto 72 - (n + 1) * DATA_WIDTH);
            wait until falling_edge(clk);
            init       <= '0';
            data_valid <= '0';
            data       <= not data;
            wait until falling_edge(clk);
        end loop;
        if unsigned(crc) /= EXPECTED then
            errors := errors + 1;
        end if;
        if errors = 0 then
            report "PASS crc " & integer'image(CRC_WIDTH) & " bits poly " & POLYNOMIAL & " by "
                & integer'image(DATA_WIDTH) & " bits: " & to_hstring(crc);
        else
            report "FAIL crc " & integer'image(CRC_WIDTH) & " bits poly " & POLYNOMIAL & " by "
                & integer'image(DATA_WIDTH) & " bits: " & to_hstring(crc) & ", expected "
                & to_hstring(to_unsigned(EXPECTED, CRC_WIDTH));
        end if;
        done <= true;
        wait;
    end process;
end architecture;
